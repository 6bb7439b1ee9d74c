#include <gtest/gtest.h>

#include <string>

#include "catalog/catalog_load.h"
#include "tests/native/fake_load_host.h"

namespace {

// Discs far larger than any real one: every id in use, 100,000 lines of categories, 1 MB lines. Nothing is
// cut short and nothing is lost.
TEST(LargeInput, HundredThousandLineCategoryFileAndMegabyteLines) {
  const std::string megabyteName(1 << 20, 'n');
  const std::string megabyteLine(1 << 20, 'd');
  std::string description;
  for (int line = 0; line < 47; ++line) description += "opis " + std::to_string(line) + "\r\n";
  std::string categories;
  int lines = 0;
  for (int id = 1; id <= 2047; ++id) {
    categories +=
        std::to_string(id) + ";" + std::to_string(id / 2) + ";Kategoria " + std::to_string(id) + "\r\n";
    categories += description + "$\r\n";
    lines += 49;
  }
  categories += "2047;0;" + megabyteName + "\r\n" + megabyteLine + "\r\n$\r\n";
  lines += 3;
  ASSERT_GE(lines, 100000);

  std::string programs;
  for (int i = 0; i < 2000; ++i) {
    programs += "P" + std::to_string(i) + "\n" + std::to_string(1 + i % 2047) + "\nrun=go.exe\n\n";
  }
  programs += "BIG\n2047\ncop=c:\\" + megabyteLine + "\n";

  FakeLoadHost host;
  host.files[FakeLoadHost::kCategoryFilePolish] = categories;
  host.files[FakeLoadHost::kProgramList] = programs;
  host.otherFilesOnD = "Tytul\n";
  CatalogSources sources{{FakeLoadHost::kCategoryFilePolish, FakeLoadHost::kCategoryFileCzech},
                         FakeLoadHost::kProgramList,
                         {"opis\\opis1.txt", "opis\\opis2.txt"}};
  CategoryTable table;
  ASSERT_TRUE(LoadCatalog(sources, Language::kPolish, table, host, host))
      << (host.messages.empty() ? "" : host.messages[0]);
  EXPECT_TRUE(host.messages.empty());

  const Category* last = table.Get(2047);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->name, megabyteName);
  EXPECT_EQ(last->description, megabyteLine + "\r\n");
  EXPECT_EQ(table.Get(1000)->description, description);
  EXPECT_EQ(table.Get(1000)->parent, 500);
  EXPECT_EQ(table.Children(0).size(), 2u);  // 1 and the redefined 2047
  ASSERT_EQ(last->programs.size(), 1u);
  EXPECT_EQ(*last->programs[0]->copyDestination, "c:\\" + megabyteLine);
  std::size_t entries = 0;
  for (int id = 0; id < CategoryTable::kSlotCount; ++id) {
    if (table.Get(id) != nullptr) entries += table.Get(id)->programs.size();
  }
  EXPECT_EQ(entries, 2001u);
}

}  // namespace
