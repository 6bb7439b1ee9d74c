#include "catalog/category_file.h"

#include <optional>

#include "catalog/text_parsing.h"

bool ReadCategoryFile(TextFile& file, const std::string& path, CategoryTable& table, LoadSink& sink) {
  using Kind = FindingCode;
  const std::string slots = std::to_string(CategoryTable::kSlotCount);
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
      if (!sink.Report(FindingInLine(Kind::kNoSemicolon, path, lineNumber, "char ';' not founf")))
        return false;
      // A line without both semicolons is more often stray text than a header: only it is dropped.
      continue;
    }

    const int id = AtoiSaturating(std::string_view(header).substr(0, first));
    const int parent = AtoiSaturating(std::string_view(header).substr(first + 1, second - first - 1));
    std::optional<LoadFinding> badNumber;
    if (id > CategoryTable::kSlotCount - 1 || id < 1) {
      badNumber = FindingInLine(Kind::kBadCategoryId, path, lineNumber,
                                "invalid category number\nmust be 0>kat_id<" + slots);
    } else if (parent > CategoryTable::kSlotCount - 1 || parent < 0) {
      badNumber = FindingInLine(Kind::kBadParentId, path, lineNumber,
                                "invalid parent category number\nmust be : 0>=parent_id<" + slots);
    }
    if (badNumber) {
      if (!sink.Report(*badNumber)) return false;
      skipDescription(lineNumber);
      continue;
    }

    sink.CategoryRead(id, parent, lineNumber);
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
  return true;
}
