#include "catalog/program_list.h"

#include <memory>
#include <optional>
#include <utility>

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
};

// Paths in the list are relative to the program's directory unless they start at the root of the drive.
std::string UnderDirectory(const std::string& directory, const std::string& value) {
  if (!value.empty() && value[0] == '\\') return value;
  return directory + value;
}

void StoreOption(const std::string& option, Block& block) {
  // The fourth character is a separator of any kind: "run=x", "run:x" and "run x" are the same option.
  const std::string key = option.substr(0, 3);
  std::string value = option.substr(4);
  if (key == "run") {
    block.run = std::move(value);
  } else if (key == "ins") {
    block.install = std::move(value);
  } else if (key == "cop") {
    block.copy = std::move(value);
  } else if (key == "op1") {
    block.descriptionPolish = std::move(value);
  } else if (key == "op2") {
    block.descriptionCzech = std::move(value);
  }
}

// Builds the entry and tests its description file. Only a complete entry joins the category: one whose
// description fails is never half-added to the table.
bool BuildEntry(const Block& block, bool isPolish, const std::string& defaultDescription,
                CategoryTable& table, LoadHost& host) {
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

  const std::string& path = entry->descriptionPath;
  TextFile file;
  if (!host.OpenTextFile(file, path)) {
    host.ShowMessage("Could not open file with description " + path);
    return false;
  }
  std::string firstLine;
  const bool hasLine = file.ReadLine(firstLine);
  file.Close();
  if (!hasLine) {
    host.ShowMessage("File " + path + " is empty");
    return false;
  }
  entry->title = TrimLeading(firstLine);
  if (entry->title.empty()) {
    host.ShowMessage("First line in " + path + " is empty");
    return false;
  }
  table.AppendEntry(block.category, std::move(entry));
  return true;
}

bool FailFormat(TextFile& file, LoadHost& host, const std::string& message) {
  file.Close();
  host.ShowMessage(message);
  return false;
}

}  // namespace

bool ReadProgramList(TextFile& file, const std::string& path, bool isPolish,
                     const std::string& defaultDescription, CategoryTable& table, LoadHost& host) {
  std::string line;
  long long lineNumber = 0;
  while (file.ReadLine(line)) {
    ++lineNumber;
    Block block;
    block.directory = TrimLeading(line);
    if (block.directory.empty()) continue;

    // The category line never ends a block: a blank one means the root.
    if (!file.ReadLine(line)) {
      return FailFormat(file, host, FillMessage(kNoCategoryLine, lineNumber + 1, path));
    }
    ++lineNumber;
    block.category = AtoiSaturating(TrimLeading(line));
    if (block.category > CategoryTable::kSlotCount - 1 || block.category < 0) {
      return FailFormat(file, host, FillMessage(kBadCategory, lineNumber, path, CategoryTable::kSlotCount));
    }

    while (file.ReadLine(line)) {
      ++lineNumber;
      const std::string option = TrimLeading(line);
      if (option.empty()) break;
      if (option.size() < kShortestOption)
        return FailFormat(file, host, FillMessage(kBadOption, lineNumber, path));
      StoreOption(option, block);
    }

    if (table.Get(block.category) == nullptr) {
      host.ShowMessage(FillMessage(kUndefinedCategory, lineNumber, path, block.category));
      continue;
    }
    if (!BuildEntry(block, isPolish, defaultDescription, table, host)) {
      file.Close();
      return false;
    }
  }
  return true;
}
