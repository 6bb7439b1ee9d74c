#pragma once

#include <string>

#include "disc/path_limit.h"

// The command lines the main window starts: the system's copy tool and a help viewer. Paths go in as they
// are, except that a path with a space is quoted, so that it reaches the started program as one argument.

enum class CopyCommand { kReady, kEmptyDestination, kDestinationTooLong };

// "xcopy <directory> <destination>\<last component of directory>\ /E /C /F": the program's directory is
// copied into a folder of its own name under the destination. `target` receives the destination part; it may
// be at most kMaxPathLength characters long, with the added backslash and the directory's last component.
CopyCommand BuildCopyCommand(const std::string& directory, const std::string& destination,
                             std::string& command, std::string& target);

// "hh <help file>" for compiled HTML help (a name ending in .chm, in any case), which every Windows opens;
// "winhelp <help file>" otherwise, for the old help files, whose viewer newer Windows no longer have.
std::string BuildHelpCommand(const std::string& helpFile);

// The old help file's path with ".chm" in place of its ".hlp" (in any case, which it keeps), naming the
// compiled HTML help of the same name beside it; empty for a path that does not end in ".hlp".
std::string CompiledHelpBeside(const std::string& helpFile);

// The path as one command-line argument: unchanged without a space; otherwise in double quotes, with the
// backslashes before the closing quote doubled so that they stay backslashes.
std::string QuoteArgument(const std::string& path);
