#pragma once

#include <optional>
#include <string>
#include <vector>

// An optional listener for the catalogue readers. The browser passes none and stops at the first problem, as
// its users expect; a checker for disc authors passes one, and the readers then report every problem here and
// read on, so that one run lists all the faults of a disc.
class LoadDiagnostics {
 public:
  enum class Severity { kError, kWarning };

  // One option line of a program block, as read.
  struct Option {
    std::string key;
    long long line = 0;
    // One of the keys the browser acts on.
    bool known = false;
  };

  // What the reader made of one program block; paths resolved as the browser would resolve them.
  struct Block {
    long long directoryLine = 0;
    long long categoryLine = 0;
    int category = 0;
    // False when the browser drops the block: an undefined or invalid category.
    bool accepted = false;
    std::vector<Option> options;
    std::optional<std::string> runPath;
    long long runLine = 0;
    std::optional<std::string> installPath;
    long long installLine = 0;
    std::string descriptionPath;
    // The line of the description option of the language, or the directory line when the default is used.
    long long descriptionLine = 0;
  };

  virtual ~LoadDiagnostics() = default;
  // file is the path the reader was given; line 0 when the problem concerns the file as a whole. The message
  // is the text the browser would show.
  virtual void Report(Severity severity, const std::string& file, long long line,
                      const std::string& message) = 0;
  // Every category header stored, in file order.
  virtual void CategoryRead(int /*id*/, int /*parent*/, long long /*line*/) {}
  // Every complete block of the program list, accepted or not.
  virtual void BlockRead(const Block& /*block*/) {}
};
