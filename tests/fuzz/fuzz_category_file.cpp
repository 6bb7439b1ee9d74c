// Feeds arbitrary bytes to the category file reader and checks what it leaves in the table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalog/category_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CategoryTable table;
  table.AddCategory(0, -1, "", "");
  TextFile file;
  file.OpenFromString(text);
  const ReadResult result = ReadCategoryFile(file, "D:\\kat1.txt", table);

  Check(result.ok == result.message.empty());
  if (!result.ok) {
    const std::string prefix = "Error in line nr ";
    Check(result.message.compare(0, prefix.size(), prefix) == 0);
    // The line named must be one the file has.
    long long lines = 1;
    for (const char c : text) lines += c == '\n';
    Check(std::atoll(result.message.c_str() + prefix.size()) >= 1);
    Check(std::atoll(result.message.c_str() + prefix.size()) <= lines);
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
