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

ReadResult ReadCategoryFile(TextFile& file, const std::string& path, CategoryTable& table) {
  std::string line;
  // 64 bits: a counter that wraps would name the wrong line on a file of billions of lines.
  long long lineNumber = 0;
  while (file.ReadLine(line)) {
    ++lineNumber;
    const std::string header = TrimLeading(line);
    if (header.empty() || header[0] == '#') continue;

    const std::size_t first = header.find(';');
    if (first == std::string::npos) return Fail(kNoSemicolon, lineNumber, path);
    const std::size_t second = header.find(';', first + 1);
    if (second == std::string::npos) return Fail(kNoSemicolon, lineNumber, path);

    const int id = AtoiSaturating(std::string_view(header).substr(0, first));
    const int parent = AtoiSaturating(std::string_view(header).substr(first + 1, second - first - 1));
    if (id > CategoryTable::kSlotCount - 1 || id < 1) return Fail(kBadId, lineNumber, path);
    if (parent > CategoryTable::kSlotCount - 1 || parent < 0) return Fail(kBadParent, lineNumber, path);

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
  return {true, std::string()};
}
