#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "catalog/catalog_model.h"

namespace {

std::unique_ptr<ProgramEntry> Entry(const char* title) {
  auto entry = std::make_unique<ProgramEntry>();
  entry->title = title;
  return entry;
}

std::vector<int> Ids(const std::vector<const Category*>& categories) {
  std::vector<int> ids;
  for (const Category* category : categories) ids.push_back(category->id);
  return ids;
}

TEST(CategoryTable, GetCoversExactlyTheSlots) {
  CategoryTable table;
  EXPECT_TRUE(table.IsEmpty());
  table.AddCategory(0, -1, "", "");
  table.AddCategory(2047, 0, "last", "");
  EXPECT_FALSE(table.IsEmpty());
  EXPECT_NE(table.Get(0), nullptr);
  ASSERT_NE(table.Get(2047), nullptr);
  EXPECT_EQ(table.Get(2047)->id, 2047);
  for (int id : {-1, 1, 2048, 1 << 30}) EXPECT_EQ(table.Get(id), nullptr) << id;
  EXPECT_THROW(table.AddCategory(2048, 0, "", ""), std::out_of_range);
  EXPECT_THROW(table.AddCategory(-1, 0, "", ""), std::out_of_range);
}

TEST(CategoryTable, ReplacingACategoryDropsItsPrograms) {
  CategoryTable table;
  table.AddCategory(5, 0, "old", "d");
  table.AppendEntry(5, Entry("a"));
  table.Get(5)->listIndex = 3;
  Category& replaced = table.AddCategory(5, 1, "new", "e");
  EXPECT_EQ(&replaced, table.Get(5));
  EXPECT_EQ(replaced.name, "new");
  EXPECT_EQ(replaced.parent, 1);
  EXPECT_EQ(replaced.listIndex, -1);
  EXPECT_TRUE(replaced.programs.empty());
}

TEST(CategoryTable, AppendKeepsOrderAndEntriesStayPut) {
  CategoryTable table;
  table.AddCategory(3, 0, "c", "");
  ProgramEntry& first = table.AppendEntry(3, Entry("first"));
  for (int i = 0; i < 100; ++i) table.AppendEntry(3, Entry("more"));
  ProgramEntry& last = table.AppendEntry(3, Entry("last"));
  const auto& programs = table.Get(3)->programs;
  ASSERT_EQ(programs.size(), 102u);
  EXPECT_EQ(programs.front().get(), &first);
  EXPECT_EQ(first.title, "first");
  EXPECT_EQ(programs.back().get(), &last);
  EXPECT_THROW(table.AppendEntry(4, Entry("x")), std::out_of_range);
  EXPECT_THROW(table.AppendEntry(3, nullptr), std::invalid_argument);
}

TEST(CategoryTable, ChildrenInIdOrderWhateverTheInsertionOrder) {
  CategoryTable table;
  table.AddCategory(0, -1, "", "");
  for (int id : {40, 7, 2047, 12, 1}) table.AddCategory(id, 0, "", "");
  table.AddCategory(9, 7, "", "");
  table.AddCategory(8, 8, "", "");  // its own parent: never under the root
  EXPECT_EQ(Ids(table.Children(0)), (std::vector<int>{1, 7, 12, 40, 2047}));
  EXPECT_EQ(Ids(table.Children(7)), std::vector<int>{9});
  EXPECT_TRUE(table.Children(12).empty());
  EXPECT_EQ(Ids(table.Children(-1)), std::vector<int>{0});
}

TEST(CategoryTable, FindByListRow) {
  CategoryTable table;
  table.AddCategory(0, -1, "", "");
  table.AddCategory(4, 0, "", "").listIndex = 2;
  table.AddCategory(9, 0, "", "").listIndex = 2;
  table.AddCategory(6, 0, "", "").listIndex = 1;
  EXPECT_EQ(table.FindByListRow(2)->id, 4);
  EXPECT_EQ(table.FindByListRow(1)->id, 6);
  EXPECT_EQ(table.FindByListRow(0), nullptr);
  // A list box without a selection answers -1, the mark of every category not shown.
  EXPECT_EQ(table.FindByListRow(-1), nullptr);
  table.ResetListIndexes();
  EXPECT_EQ(table.FindByListRow(2), nullptr);
  EXPECT_EQ(table.Get(9)->listIndex, -1);
}

TEST(CategoryTable, ClearEmptiesEverySlot) {
  CategoryTable table;
  table.AddCategory(0, -1, "", "");
  table.AddCategory(2047, 0, "", "");
  table.AppendEntry(2047, Entry("x"));
  table.Clear();
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_EQ(table.Get(0), nullptr);
}

}  // namespace
