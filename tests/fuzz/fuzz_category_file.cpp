// Feeds arbitrary bytes to the category file reader and checks what it leaves in the table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalog/category_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Reads on past every finding, as the disc checker does, so that every finding of the input is checked.
struct AllFindings : LoadSink {
  std::vector<LoadFinding> findings;
  bool Report(const LoadFinding& finding) override {
    findings.push_back(finding);
    return true;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CategoryTable table;
  table.AddCategory(0, -1, "", "");
  TextFile file;
  file.OpenFromString(text);
  AllFindings sink;
  Check(ReadCategoryFile(file, "D:\\kat1.txt", table, sink));

  // Every finding stops the browser's load and names, in its message too, a line the file has.
  long long lines = 1;
  for (const char c : text) lines += c == '\n';
  const std::string prefix = "Error in line nr ";
  for (const LoadFinding& finding : sink.findings) {
    Check(finding.stopsLoad && finding.file == "D:\\kat1.txt");
    Check(finding.line >= 1 && finding.line <= lines);
    Check(finding.message.compare(0, prefix.size(), prefix) == 0);
    Check(std::atoll(finding.message.c_str() + prefix.size()) == finding.line);
    Check(finding.message.size() > finding.reason.size() &&
          finding.message.compare(finding.message.size() - finding.reason.size(), std::string::npos,
                                  finding.reason) == 0);
  }
  const Category* root = table.Get(0);
  Check(root != nullptr && root->parent == -1 && root->name.empty());
  for (int id = 1; id < CategoryTable::kSlotCount; ++id) {
    const Category* category = table.Get(id);
    if (category == nullptr) continue;
    Check(category->id == id);
    Check(category->parent >= 0 && category->parent < CategoryTable::kSlotCount);
    Check(category->listIndex == -1 && category->programs.empty());
    const std::string& d = category->description;
    Check(d.empty() || (d.size() >= 2 && d.compare(d.size() - 2, 2, "\r\n") == 0));
  }
  return 0;
}
