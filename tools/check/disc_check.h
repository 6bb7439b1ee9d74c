#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "disc/code_page.h"
#include "disc/finding.h"
#include "disc/language.h"

struct CheckReport {
  // Ordered by file, then line; in UTF-8, as everything the checker reports.
  std::vector<Finding> findings;
  // Each language's tree as the browser shows it, when asked for.
  std::string tree;
  // The files each language's load opens, in the order it opens them (its category file, the program list,
  // then each program's description file), as the disc names them.
  PerLanguage<std::vector<std::string>> loadOrder;

  int ErrorCount() const;
  int WarningCount() const;
  // 0 clean, 1 warnings only, 2 errors.
  int ExitCode() const;
};

// The text of a disc file as it is to be read (this machine's name for it, the disc's in code page 1250), or
// nothing when it cannot be read.
using TextSource =
    std::function<std::optional<std::string>(const std::filesystem::path& native, const std::string& file)>;

// The contents of a text file the browser reads as they go on the disc, in code page 1250: decoded from the
// encoding declared, or from the one a byte order mark says, which is dropped. Each fault is an error in
// `findings` (in UTF-8): the first place where the text is not in its encoding, else the first character of
// each line that the code page lacks. `file` is the disc's name for it, in code page 1250.
std::string ToCodePage1250(const std::string& bytes, const std::string& file, TextEncoding from,
                           std::vector<Finding>& findings);

// "utf-8" or "cp1250", as --from takes them; nothing for another.
std::optional<TextEncoding> EncodingNamed(const std::string& name);

// Checks the disc in the folder: the settings file, both languages' category files, the program list and
// every file they name. With a text source, every text file is read as the source gives it (a tool that
// rewrites the files for the disc checks what goes on it); the settings' values are still read from the file
// itself, which the platform reads alike in either form.
CheckReport CheckDisc(const std::filesystem::path& discFolder, bool withTree,
                      const TextSource& textSource = nullptr);

// The whole command: arguments without the program name. Returns the exit code.
int RunChecker(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& errors);
