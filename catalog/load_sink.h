#pragma once

#include <optional>
#include <string>
#include <vector>

#include "disc/finding.h"

// One problem the catalogue readers found.
struct LoadFinding {
  // One of the load's codes, kCannotOpen to kBlankTitle.
  FindingCode code = FindingCode::kCannotOpen;
  // The file the problem is in, as the reader was given it, and its line there; 0 for the file as a whole.
  std::string file;
  long long line = 0;
  // Whether the browser's load ends here. The only other finding is the undefined category, which the browser
  // shows and then reads on.
  bool stopsLoad = true;
  // Exactly the text the browser shows.
  std::string message;
  // The same without the first line that names the place ("Error in line nr ... in file ..."), for a report
  // that gives file and line its own way; the whole message where it names no place.
  std::string reason;
};

// Where the catalogue readers send what they find and what they read. Every reader reports to one; the sink
// decides whether the reading goes on: the browser stops at the first finding that stops the load, a checker
// for disc authors reads on, so that one run lists all the faults of a disc.
class LoadSink {
 public:
  // One option line of a program block, as read.
  struct Option {
    std::string key;
    long long line = 0;
    // One of the keys the browser acts on.
    bool known = false;
  };

  // What the reader made of one program block; paths resolved as the browser would resolve them.
  struct Block {
    // The directory and the category number as written, leading white space removed.
    std::string directory;
    std::string categoryText;
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

  virtual ~LoadSink() = default;
  // Returns whether the reading goes on past the finding. When it does not, the reader stops and returns
  // false, and the load closes its files and then calls LoadStopped.
  virtual bool Report(const LoadFinding& finding) = 0;
  // The load has ended at a finding Report would not go on from, and closed the files it read.
  virtual void LoadStopped() {}
  // Every category header stored, in file order.
  virtual void CategoryRead(int /*id*/, int /*parent*/, long long /*line*/) {}
  // Every complete block of the program list that has a valid category number, accepted or not.
  virtual void BlockRead(const Block& /*block*/) {}
};

// A finding placed at a line of a catalogue file: the message is the browser's "Error in line nr LINE in file
// PATH" (or "Warning ..." for one that does not stop the load) over the reason.
LoadFinding FindingInLine(FindingCode code, const std::string& path, long long line, std::string reason,
                          bool stopsLoad = true);
