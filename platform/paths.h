#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <unordered_map>

#include "disc/path_limit.h"

// Paths as written on the disc (settings file, program list) are relative to the process's current directory,
// which is the disc root while the program starts. Both operations leave the current directory as they found
// it.

// Makes `path` absolute: its directory part is interpreted against the current directory and its last
// component put back behind it (the last component need not exist). A path that names an existing directory
// as a whole becomes that directory without a trailing backslash (except a drive root). When the directory
// part does not exist, or the path or its result would be longer than kMaxPathLength, `path` is left
// unchanged.
void ResolvePath(std::string& path);

// ResolvePath for many paths in a row, as the catalogue load resolves them: the same results, but a directory
// once seen to exist is not looked up again, nor are the plain names in it (each look at the disc costs about
// as much as reading a small file under Wine, and every program's paths share their directories). What it
// remembers holds for one current directory and is dropped when that changes; a directory removed while the
// resolver lives is still taken as existing, so it should live no longer than one pass over the catalogue.
class PathResolver {
 public:
  void Resolve(std::string& path);

 private:
  bool KnownDirectory(const std::string& directory, std::string& absolute);
  bool AnswerWithoutLooking(const std::string& directory, const std::string& name, std::string& path);
  void Remember(const std::string& directory, const std::string& absolute);

  std::string currentDirectory_;
  std::unordered_map<std::string, std::string> directories_;
};

// How LaunchInDirectory starts a program: the platform's plain start, and the shell's, for what the plain
// one cannot start (a program that asks for administrator rights, a document). Tests put their own in.
BOOL WINAPI ShellExecuteWithCom(SHELLEXECUTEINFOA* info);
struct Starters {
  UINT(WINAPI* plain)(LPCSTR commandLine, UINT showCommand) = WinExec;
  BOOL(WINAPI* shell)(SHELLEXECUTEINFOA* info) = ShellExecuteWithCom;
};

enum class LaunchResult {
  kStarted,         // by the plain start, or by the shell
  kNothingToStart,  // the path names a directory; callers take it as success
  kFileNotFound,    // the platform's code 2
  kPathNotFound,    // the platform's code 3, also for a directory part that cannot be entered
  kDeclined,        // the user said no when Windows asked for administrator rights
  kNotStarted,      // neither start could: not a program, no program registered for the type, ...
};

// Starts the program file `path` (optionally followed by arguments after its last backslash) with the file's
// own directory as the current directory, so the program finds its files by relative names. The plain start
// (WinExec) comes first. What it cannot start because Windows must first ask for administrator rights (error
// 740), or because it is no program (error 193, code 11), goes to the shell in the same directory, which
// shows the elevation prompt or opens the document with the program registered for its type. A path longer
// than kMaxPathLength is reported as kPathNotFound.
LaunchResult LaunchInDirectory(const std::string& path, int showCommand, const Starters& starters = {});
