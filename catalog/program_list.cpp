#include "catalog/program_list.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "catalog/text_parsing.h"

namespace {

constexpr const char* kNoCategoryLine = "Error in line nr %d in file %s\nCouldn't find category number";
constexpr const char* kBadCategory =
    "Error in line nr %d in file %s\nInvalid category number\nmust be : 0>=kat_id<%d";
constexpr const char* kBadOption = "Error in line nr %d in file %s\nInvalid option";
constexpr const char* kUndefinedCategory =
    "Warning in line nr %d in file %s\nCategory number %d isn't defined";

// The shortest option line: three letters of key, one separator, at least one character of value.
constexpr std::size_t kShortestOption = 5;

struct Block {
  std::string directory;
  int category = 0;
  std::optional<std::string> run;
  std::optional<std::string> install;
  std::optional<std::string> copy;
  std::optional<std::string> descriptionPolish;
  std::optional<std::string> descriptionCzech;
  // Where each value came from, for diagnostics only.
  long long runLine = 0;
  long long installLine = 0;
  long long descriptionPolishLine = 0;
  long long descriptionCzechLine = 0;
};

// Paths in the list are relative to the program's directory unless they start at the root of the drive.
std::string UnderDirectory(const std::string& directory, const std::string& value) {
  if (!value.empty() && value[0] == '\\') return value;
  return directory + value;
}

// Returns whether the key is one the browser knows.
bool StoreOption(const std::string& option, long long lineNumber, Block& block) {
  // The fourth character is a separator of any kind: "run=x", "run:x" and "run x" are the same option.
  const std::string key = option.substr(0, 3);
  std::string value = option.substr(4);
  if (key == "run") {
    block.run = std::move(value);
    block.runLine = lineNumber;
  } else if (key == "ins") {
    block.install = std::move(value);
    block.installLine = lineNumber;
  } else if (key == "cop") {
    block.copy = std::move(value);
  } else if (key == "op1") {
    block.descriptionPolish = std::move(value);
    block.descriptionPolishLine = lineNumber;
  } else if (key == "op2") {
    block.descriptionCzech = std::move(value);
    block.descriptionCzechLine = lineNumber;
  } else {
    return false;
  }
  return true;
}

// The entry with every path made absolute; its title is not read yet.
std::unique_ptr<ProgramEntry> MakeEntry(const Block& block, bool isPolish,
                                        const std::string& defaultDescription, LoadHost& host) {
  std::string directory = block.directory;
  if (directory.back() != '\\') directory += '\\';

  auto entry = std::make_unique<ProgramEntry>();
  if (block.run) {
    entry->runPath = UnderDirectory(directory, *block.run);
    host.ResolvePath(*entry->runPath);
  }
  if (block.install) {
    entry->installPath = UnderDirectory(directory, *block.install);
    host.ResolvePath(*entry->installPath);
  }
  entry->copyDestination = block.copy;
  const std::optional<std::string>& description = isPolish ? block.descriptionPolish : block.descriptionCzech;
  entry->descriptionPath =
      description ? UnderDirectory(directory, *description) : directory + defaultDescription;
  host.ResolvePath(entry->descriptionPath);
  entry->directory = directory;
  host.ResolvePath(entry->directory);
  return entry;
}

// Reads the title from the description file; on failure returns the message and where it belongs: the
// description file itself when it opened, otherwise nothing (the caller names the block).
bool ReadTitle(ProgramEntry& entry, LoadHost& host, std::string& message, bool& inDescriptionFile) {
  const std::string& path = entry.descriptionPath;
  inDescriptionFile = true;
  TextFile file;
  if (!host.OpenTextFile(file, path)) {
    message = "Could not open file with description " + path;
    inDescriptionFile = false;
    return false;
  }
  std::string firstLine;
  const bool hasLine = file.ReadLine(firstLine);
  file.Close();
  if (!hasLine) {
    message = "File " + path + " is empty";
    return false;
  }
  entry.title = TrimLeading(firstLine);
  if (entry.title.empty()) {
    message = "First line in " + path + " is empty";
    return false;
  }
  return true;
}

bool FailFormat(TextFile& file, LoadHost& host, const std::string& message) {
  file.Close();
  host.ShowMessage(message);
  return false;
}

LoadDiagnostics::Block DescribeBlock(const Block& block, bool isPolish, long long directoryLine,
                                     long long categoryLine, const ProgramEntry& entry) {
  LoadDiagnostics::Block report;
  report.directoryLine = directoryLine;
  report.categoryLine = categoryLine;
  report.category = block.category;
  report.runPath = entry.runPath;
  report.runLine = block.runLine;
  report.installPath = entry.installPath;
  report.installLine = block.installLine;
  report.descriptionPath = entry.descriptionPath;
  const long long optionLine = isPolish ? block.descriptionPolishLine : block.descriptionCzechLine;
  report.descriptionLine = optionLine != 0 ? optionLine : directoryLine;
  return report;
}

}  // namespace

bool ReadProgramList(TextFile& file, const std::string& path, bool isPolish,
                     const std::string& defaultDescription, CategoryTable& table, LoadHost& host,
                     LoadDiagnostics* diagnostics) {
  using Severity = LoadDiagnostics::Severity;
  bool clean = true;
  const auto report = [&](Severity severity, const std::string& where, long long line,
                          const std::string& text) {
    if (severity == Severity::kError) clean = false;
    diagnostics->Report(severity, where, line, text);
  };

  std::string line;
  long long lineNumber = 0;
  while (file.ReadLine(line)) {
    ++lineNumber;
    Block block;
    block.directory = TrimLeading(line);
    if (block.directory.empty()) continue;
    const long long directoryLine = lineNumber;

    // The category line never ends a block: a blank one means the root.
    if (!file.ReadLine(line)) {
      const std::string message = FillMessage(kNoCategoryLine, lineNumber + 1, path);
      if (diagnostics == nullptr) return FailFormat(file, host, message);
      report(Severity::kError, path, lineNumber + 1, message);
      return false;
    }
    ++lineNumber;
    const long long categoryLine = lineNumber;
    block.category = AtoiSaturating(TrimLeading(line));
    bool validCategory = true;
    if (block.category > CategoryTable::kSlotCount - 1 || block.category < 0) {
      const std::string message = FillMessage(kBadCategory, lineNumber, path, CategoryTable::kSlotCount);
      if (diagnostics == nullptr) return FailFormat(file, host, message);
      report(Severity::kError, path, lineNumber, message);
      validCategory = false;
    }

    std::vector<LoadDiagnostics::Option> options;
    while (file.ReadLine(line)) {
      ++lineNumber;
      const std::string option = TrimLeading(line);
      if (option.empty()) break;
      if (option.size() < kShortestOption) {
        const std::string message = FillMessage(kBadOption, lineNumber, path);
        if (diagnostics == nullptr) return FailFormat(file, host, message);
        report(Severity::kError, path, lineNumber, message);
        continue;
      }
      const bool known = StoreOption(option, lineNumber, block);
      if (diagnostics != nullptr) options.push_back({option.substr(0, 3), lineNumber, known});
    }

    if (diagnostics == nullptr) {
      if (table.Get(block.category) == nullptr) {
        host.ShowMessage(FillMessage(kUndefinedCategory, lineNumber, path, block.category));
        continue;
      }
      // Only a complete entry joins the category: one whose description fails is never half-added.
      auto entry = MakeEntry(block, isPolish, defaultDescription, host);
      std::string message;
      bool inDescriptionFile = false;
      if (!ReadTitle(*entry, host, message, inDescriptionFile)) {
        host.ShowMessage(message);
        file.Close();
        return false;
      }
      table.AppendEntry(block.category, std::move(entry));
      continue;
    }

    // The checker's way: every block is described, and a failing one is dropped without ending the reading.
    auto entry = MakeEntry(block, isPolish, defaultDescription, host);
    LoadDiagnostics::Block described = DescribeBlock(block, isPolish, directoryLine, categoryLine, *entry);
    described.options = std::move(options);
    described.accepted = validCategory && table.Get(block.category) != nullptr;
    if (validCategory && !described.accepted) {
      report(Severity::kWarning, path, categoryLine,
             FillMessage(kUndefinedCategory, categoryLine, path, block.category));
    }
    diagnostics->BlockRead(described);
    if (!described.accepted) continue;
    std::string message;
    bool inDescriptionFile = false;
    if (!ReadTitle(*entry, host, message, inDescriptionFile)) {
      if (inDescriptionFile) {
        report(Severity::kError, entry->descriptionPath, 1, message);
      } else {
        report(Severity::kError, path, described.descriptionLine, message);
      }
      continue;
    }
    table.AppendEntry(block.category, std::move(entry));
  }
  return clean;
}
