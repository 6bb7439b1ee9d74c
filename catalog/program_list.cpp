#include "catalog/program_list.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "catalog/text_parsing.h"

namespace {

using Kind = FindingCode;

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
  // Where each value came from, for the sink.
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
std::unique_ptr<ProgramEntry> MakeEntry(const Block& block, Language language,
                                        const std::string& defaultDescription, DiscAccess& disc) {
  std::string directory = block.directory;
  if (directory.back() != '\\') directory += '\\';

  auto entry = std::make_unique<ProgramEntry>();
  if (block.run) {
    entry->runPath = UnderDirectory(directory, *block.run);
    disc.ResolvePath(*entry->runPath);
  }
  if (block.install) {
    entry->installPath = UnderDirectory(directory, *block.install);
    disc.ResolvePath(*entry->installPath);
  }
  entry->copyDestination = block.copy;
  const std::optional<std::string>& description =
      language == Language::kPolish ? block.descriptionPolish : block.descriptionCzech;
  entry->descriptionPath =
      description ? UnderDirectory(directory, *description) : directory + defaultDescription;
  disc.ResolvePath(entry->descriptionPath);
  entry->directory = directory;
  disc.ResolvePath(entry->directory);
  return entry;
}

// Reads the title from the description file. A failure is placed in the description file when it opened,
// otherwise at the line of the list that names it.
std::optional<LoadFinding> ReadTitle(ProgramEntry& entry, DiscAccess& disc, const std::string& listPath,
                                     long long descriptionLine) {
  const std::string& path = entry.descriptionPath;
  const auto fail = [&](Kind kind, std::string message, const std::string& file, long long line) {
    LoadFinding finding;
    finding.code = kind;
    finding.file = file;
    finding.line = line;
    finding.reason = message;
    finding.message = std::move(message);
    return finding;
  };
  TextFile file;
  if (!disc.OpenTextFile(file, path)) {
    return fail(Kind::kNoDescriptionFile, kNoDescriptionMessage + path, listPath, descriptionLine);
  }
  std::string firstLine;
  const bool hasLine = file.ReadLine(firstLine);
  file.Close();
  if (!hasLine) return fail(Kind::kEmptyDescriptionFile, "File " + path + " is empty", path, 1);
  entry.title = TrimLeading(firstLine);
  if (entry.title.empty()) return fail(Kind::kBlankTitle, "First line in " + path + " is empty", path, 1);
  return std::nullopt;
}

LoadSink::Block DescribeBlock(const Block& block, Language language, long long directoryLine,
                              long long categoryLine, const ProgramEntry& entry) {
  LoadSink::Block report;
  report.directoryLine = directoryLine;
  report.categoryLine = categoryLine;
  report.category = block.category;
  report.runPath = entry.runPath;
  report.runLine = block.runLine;
  report.installPath = entry.installPath;
  report.installLine = block.installLine;
  report.descriptionPath = entry.descriptionPath;
  const long long optionLine =
      language == Language::kPolish ? block.descriptionPolishLine : block.descriptionCzechLine;
  report.descriptionLine = optionLine != 0 ? optionLine : directoryLine;
  return report;
}

}  // namespace

bool ReadProgramList(TextFile& file, const std::string& path, Language language,
                     const std::string& defaultDescription, CategoryTable& table, DiscAccess& disc,
                     LoadSink& sink) {
  const std::string slots = std::to_string(CategoryTable::kSlotCount);
  // A fault in the list's own format. Where the sink stops at it, the list is closed at once: the message is
  // shown once the load has closed its files.
  const auto goesOnAfter = [&](const LoadFinding& finding) {
    if (sink.Report(finding)) return true;
    file.Close();
    return false;
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
      return goesOnAfter(
          FindingInLine(Kind::kNoCategoryLine, path, lineNumber + 1, "Couldn't find category number"));
    }
    ++lineNumber;
    const long long categoryLine = lineNumber;
    const std::string categoryText = TrimLeading(line);
    block.category = AtoiSaturating(categoryText);
    bool validCategory = true;
    if (block.category > CategoryTable::kSlotCount - 1 || block.category < 0) {
      if (!goesOnAfter(FindingInLine(Kind::kBadCategoryNumber, path, lineNumber,
                                     "Invalid category number\nmust be : 0>=kat_id<" + slots))) {
        return false;
      }
      validCategory = false;
    }

    std::vector<LoadSink::Option> options;
    while (file.ReadLine(line)) {
      ++lineNumber;
      const std::string option = TrimLeading(line);
      if (option.empty()) break;
      if (option.size() < kShortestOption) {
        if (!goesOnAfter(FindingInLine(Kind::kBadOption, path, lineNumber, "Invalid option"))) return false;
        continue;
      }
      const bool known = StoreOption(option, lineNumber, block);
      options.push_back({option.substr(0, 3), lineNumber, known});
    }

    auto entry = MakeEntry(block, language, defaultDescription, disc);
    LoadSink::Block described = DescribeBlock(block, language, directoryLine, categoryLine, *entry);
    described.options = std::move(options);
    described.directory = block.directory;
    described.categoryText = categoryText;
    described.accepted = validCategory && table.Get(block.category) != nullptr;
    sink.BlockRead(described);
    if (validCategory && !described.accepted) {
      // The browser's warning names the last line read for the block; the finding is placed where the number
      // is.
      LoadFinding undefined =
          FindingInLine(Kind::kUndefinedCategory, path, lineNumber,
                        "Category number " + std::to_string(block.category) + " isn't defined", false);
      undefined.line = categoryLine;
      if (!goesOnAfter(undefined)) return false;
    }
    if (!described.accepted) continue;
    // Only a complete entry joins the category: one whose description fails is never half-added. Its message
    // is shown before the list is closed, which the load does after.
    if (const auto failure = ReadTitle(*entry, disc, path, described.descriptionLine)) {
      if (!sink.Report(*failure)) return false;
      continue;
    }
    table.AppendEntry(block.category, std::move(entry));
  }
  return true;
}
