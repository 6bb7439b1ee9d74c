#include "catalog/category_file.h"

#include <utility>

#include "catalog/text_parsing.h"

namespace {

constexpr const char* kNoSemicolon = "Error in line nr %d in file %s\nchar ';' not founf";
constexpr const char* kBadId = "Error in line nr %d in file %s\ninvalid category number\nmust be 0>kat_id<%d";
constexpr const char* kBadParent =
    "Error in line nr %d in file %s\ninvalid parent category number\nmust be : 0>=parent_id<%d";

ReadResult Fail(const char* format, long long line, const std::string& path) {
  return {false, FillMessage(format, line, path, CategoryTable::kSlotCount)};
}

}  // namespace

ReadResult ReadCategoryFile(TextFile& file, const std::string& path, CategoryTable& table,
                            LoadDiagnostics* diagnostics) {
  ReadResult firstError{true, std::string()};
  // Whether the reading ends at this error: it does without diagnostics; with them it is reported and the
  // reading goes on.
  const auto stopsAt = [&](const char* format, long long line) {
    if (diagnostics == nullptr) return true;
    const ReadResult result = Fail(format, line, path);
    diagnostics->Report(LoadDiagnostics::Severity::kError, path, line, result.message);
    if (firstError.ok) firstError = result;
    return false;
  };
  const auto skipDescription = [&](long long& lineNumber) {
    std::string skipped;
    while (file.ReadLine(skipped)) {
      ++lineNumber;
      if (!skipped.empty() && skipped[0] == '$') break;
    }
  };
  std::string line;
  // 64 bits: a counter that wraps would name the wrong line on a file of billions of lines.
  long long lineNumber = 0;
  while (file.ReadLine(line)) {
    ++lineNumber;
    const std::string header = TrimLeading(line);
    if (header.empty() || header[0] == '#') continue;

    const std::size_t first = header.find(';');
    const std::size_t second = first == std::string::npos ? first : header.find(';', first + 1);
    if (second == std::string::npos) {
      if (stopsAt(kNoSemicolon, lineNumber)) return Fail(kNoSemicolon, lineNumber, path);
      // A line without both semicolons is more often stray text than a header: only it is dropped.
      continue;
    }

    const int id = AtoiSaturating(std::string_view(header).substr(0, first));
    const int parent = AtoiSaturating(std::string_view(header).substr(first + 1, second - first - 1));
    const char* badNumber = nullptr;
    if (id > CategoryTable::kSlotCount - 1 || id < 1) {
      badNumber = kBadId;
    } else if (parent > CategoryTable::kSlotCount - 1 || parent < 0) {
      badNumber = kBadParent;
    }
    if (badNumber != nullptr) {
      if (stopsAt(badNumber, lineNumber)) return Fail(badNumber, lineNumber, path);
      skipDescription(lineNumber);
      continue;
    }

    if (diagnostics != nullptr) diagnostics->CategoryRead(id, parent, lineNumber);
    Category& category = table.AddCategory(id, parent, header.substr(second + 1), std::string());
    // Description lines are taken raw; only a '$' in the very first column ends them, so an indented "$"
    // stays text.
    while (file.ReadLine(line)) {
      ++lineNumber;
      if (!line.empty() && line[0] == '$') break;
      category.description += line;
      category.description += "\r\n";
    }
  }
  return firstError;
}
