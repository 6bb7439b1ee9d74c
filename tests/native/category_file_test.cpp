#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/category_file.h"
#include "case_name.h"

namespace {

const std::string kPath = "D:\\kat1.txt";

// Stops at the first finding, as the browser does, and keeps its message.
struct FirstMessage : LoadSink {
  std::string message;
  bool Report(const LoadFinding& finding) override {
    message = finding.message;
    return false;
  }
};

struct Expected {
  int id;
  int parent;
  std::string name;
  std::string description;
};

bool operator==(const Expected& a, const Expected& b) {
  return a.id == b.id && a.parent == b.parent && a.name == b.name && a.description == b.description;
}

void PrintTo(const Expected& e, std::ostream* os) {
  *os << "{" << e.id << ", " << e.parent << ", \"" << e.name << "\", \"" << e.description << "\"}";
}

struct Case {
  const char* name;
  std::string file;
  std::vector<Expected> categories;  // apart from the root, in id order
  std::string message;               // empty when the read succeeds
};

const char* const kA = "\nchar ';' not founf";
const char* const kB = "\ninvalid category number\nmust be 0>kat_id<2048";
const char* const kC = "\ninvalid parent category number\nmust be : 0>=parent_id<2048";

std::string Error(int line, const char* tail) {
  return "Error in line nr " + std::to_string(line) + " in file " + kPath + tail;
}

const std::vector<Case> kCases = {
    {"header, description, dollar", "12;0;Games\nBest games\n$\n", {{12, 0, "Games", "Best games\r\n"}}, ""},
    {"CRLF file", "12;0;Games\r\nBest games\r\n$\r\n", {{12, 0, "Games", "Best games\r\n"}}, ""},
    {"indented header", "  \t12;0;Games\n$\n", {{12, 0, "Games", ""}}, ""},
    {"comment", "#12;0;Games\n  # also\n", {}, ""},
    {"only comments and blanks", "\n# a\n   \n\t\n#\n", {}, ""},
    {"empty file", "", {}, ""},
    {"one semicolon", "12;0\n", {}, Error(1, kA)},
    {"no semicolon", "Games\n", {}, Error(1, kA)},
    {"two semicolons only", ";;\n", {}, Error(1, kB)},
    {"id not a number", "x;0;Name\n", {}, Error(1, kB)},
    {"id past the table", "2048;0;Name\n", {}, Error(1, kB)},
    {"root cannot be redefined", "0;0;Root\n", {}, Error(1, kB)},
    {"id wrapping past 2^32", "4294967297;0;Name\n", {}, Error(1, kB)},
    {"parent negative", "5;-1;Name\n", {}, Error(1, kC)},
    {"parent past the table", "5;2048;Name\n", {}, Error(1, kC)},
    {"parent wrapping past 2^32", "5;4294967296;Name\n", {}, Error(1, kC)},
    {"limits", "2047;2047;Max\n$\n1;0;Min\n", {{1, 0, "Min", ""}, {2047, 2047, "Max", ""}}, ""},
    {"atoi forms", "+7; -0x;N\n$\n 9 ;\t3z;M\n", {{7, 0, "N", ""}, {9, 3, "M", ""}}, ""},
    {"name keeps semicolons and spaces", "5;3;A;B \n$\n", {{5, 3, "A;B ", ""}}, ""},
    {"empty name", "5;0;\n$\n", {{5, 0, "", ""}}, ""},
    {"description taken raw",
     "3;0;C\n  indented\n\n# not a comment\n\tx;y;z\n$\n",
     {{3, 0, "C", "  indented\r\n\r\n# not a comment\r\n\tx;y;z\r\n"}},
     ""},
    {"indented dollar is text", "3;0;C\n $\n$end\n4;0;D\n", {{3, 0, "C", " $\r\n"}, {4, 0, "D", ""}}, ""},
    {"lone CR stays in description", "3;0;C\na\rb\n$\n", {{3, 0, "C", "a\rb\r\n"}}, ""},
    {"header at end of file", "3;0;C", {{3, 0, "C", ""}}, ""},
    {"no dollar swallows the rest",
     "3;0;C\nline\n4;0;D\nbad header\n",
     {{3, 0, "C", "line\r\n4;0;D\r\nbad header\r\n"}},
     ""},
    {"stray text after dollar", "3;0;C\n$\nstray\n", {{3, 0, "C", ""}}, Error(3, kA)},
    {"same id twice, later wins", "3;0;Old\nold\n$\n3;1;New\n$\n", {{3, 1, "New", ""}}, ""},
    {"undefined or own parent loads", "3;99;C\n$\n4;4;D\n$\n", {{3, 99, "C", ""}, {4, 4, "D", ""}}, ""},
    {"lines counted through descriptions",
     "1;0;A\nx\ny\n$\n2;0\n",
     {{1, 0, "A", "x\r\ny\r\n"}},
     Error(5, kA)},
    {"blank and comment lines counted", "\n#c\n\n;;\n", {}, Error(4, kB)},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class CategoryFileCases : public ::testing::TestWithParam<Case> {};

TEST_P(CategoryFileCases, Read) {
  const Case& c = GetParam();
  CategoryTable table;
  table.AddCategory(0, -1, "", "");
  TextFile file;
  file.OpenFromString(c.file);
  FirstMessage sink;
  EXPECT_EQ(ReadCategoryFile(file, kPath, table, sink), c.message.empty());
  EXPECT_EQ(sink.message, c.message);

  std::vector<Expected> categories;
  for (int id = 1; id < CategoryTable::kSlotCount; ++id) {
    if (const Category* category = table.Get(id)) {
      EXPECT_EQ(category->listIndex, -1);
      EXPECT_TRUE(category->programs.empty());
      categories.push_back({category->id, category->parent, category->name, category->description});
    }
  }
  EXPECT_EQ(categories, c.categories);
  ASSERT_NE(table.Get(0), nullptr);
  EXPECT_EQ(table.Get(0)->parent, -1);
}

INSTANTIATE_TEST_SUITE_P(Cases, CategoryFileCases, ::testing::ValuesIn(kCases), CaseName());

TEST(CategoryFile, PathWithPercentSignsAppearsAsWritten) {
  CategoryTable table;
  TextFile file;
  file.OpenFromString("nothing here\n");
  FirstMessage sink;
  ReadCategoryFile(file, "D:\\100%s%d\\kat1.txt", table, sink);
  EXPECT_EQ(sink.message, "Error in line nr 1 in file D:\\100%s%d\\kat1.txt\nchar ';' not founf");
}

TEST(CategoryFile, EveryIdOfTheTableCanBeDefined) {
  std::string text;
  for (int id = 1; id < CategoryTable::kSlotCount; ++id) text += std::to_string(id) + ";0;n\n$\n";
  CategoryTable table;
  TextFile file;
  file.OpenFromString(text);
  FirstMessage sink;
  ASSERT_TRUE(ReadCategoryFile(file, kPath, table, sink));
  EXPECT_EQ(table.Children(0).size(), 2047u);
}

}  // namespace
