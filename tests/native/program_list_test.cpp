#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "catalog/catalog_load.h"
#include "catalog/program_list.h"
#include "fake_load_host.h"
#include "case_name.h"

namespace {

const char* const kCategories = "12;0;Games\n$\n13;0;Tools\n$\n";

struct Case {
  const char* name;
  std::string programList;
  std::vector<std::string> entries;   // as Describe() writes them
  std::vector<std::string> messages;  // in the order shown
  bool ok;
  bool isPolish = true;
  std::map<std::string, std::string> files = {};
};

// One line per entry, categories in id order, entries in list order; absent options are left out.
std::vector<std::string> Describe(const CategoryTable& table) {
  std::vector<std::string> lines;
  for (int id = 0; id < CategoryTable::kSlotCount; ++id) {
    const Category* category = table.Get(id);
    if (category == nullptr) continue;
    for (const auto& entry : category->programs) {
      std::string line = std::to_string(id) + " " + entry->title + " dir=" + entry->directory +
                         " desc=" + entry->descriptionPath;
      if (entry->runPath) line += " run=" + *entry->runPath;
      if (entry->installPath) line += " ins=" + *entry->installPath;
      if (entry->copyDestination) line += " cop=" + *entry->copyDestination;
      lines.push_back(line);
    }
  }
  return lines;
}

std::string Error(int line, const std::string& tail) {
  return "Error in line nr " + std::to_string(line) + " in file D:\\prog.txt\n" + tail;
}
std::string Warning(int line, int category) {
  return "Warning in line nr " + std::to_string(line) + " in file D:\\prog.txt\nCategory number " +
         std::to_string(category) + " isn't defined";
}
const std::string kF = "Invalid option";
const std::string kE = "Invalid category number\nmust be : 0>=kat_id<2048";
const std::string kD = "Couldn't find category number";

const std::vector<Case> kCases = {
    {"chess example",
     "GAMES\\CHESS\n12\nrun=chess\ncop=c:\\games\n\n",
     {"12 Chess 3D dir=D:\\GAMES\\CHESS desc=D:\\GAMES\\CHESS\\opis\\opis1.txt run=D:\\GAMES\\CHESS\\chess "
      "cop=c:\\games"},
     {},
     true,
     true,
     {{"D:\\GAMES\\CHESS\\opis\\opis1.txt", "  \tChess 3D\r\nThe best chess.\r\n"}}},
    {"directory with trailing backslash",
     "GAMES\\CHESS\\\n12\nrun=chess\n",
     {"12 T dir=D:\\GAMES\\CHESS desc=D:\\GAMES\\CHESS\\opis\\opis1.txt run=D:\\GAMES\\CHESS\\chess"},
     {},
     true},
    {"colon separator",
     "A\n12\nrun:chess\n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt run=D:\\A\\chess"},
     {},
     true},
    {"space separator",
     "A\n12\nrun chess\n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt run=D:\\A\\chess"},
     {},
     true},
    {"any fourth character",
     "A\n12\nrunner.exe\n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt run=D:\\A\\er.exe"},
     {},
     true},
    {"keys are case sensitive",
     "A\n12\nRUN=chess\nIns=x\n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt"},
     {},
     true},
    {"unknown keys ignored",
     "A\n12\nxyz=1\nop3=x.txt\n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt"},
     {},
     true},
    {"only three letters are the key",
     "A\n12\ncopy=c:\\x\n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt cop==c:\\x"},
     {},
     true},
    {"option of four characters", "A\n12\nrun=\n", {}, {Error(3, kF)}, false},
    {"option of four characters after trimming", "A\n12\n   run=\n", {}, {Error(3, kF)}, false},
    {"value of spaces is present",
     "A\n12\nrun=   \n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt run=D:\\A\\   "},
     {},
     true},
    {"trailing spaces kept",
     "A\n12\ncop=c:\\x  \n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt cop=c:\\x  "},
     {},
     true},
    {"later option wins",
     "A\n12\nrun=a\nins=i\nrun=b\n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt run=D:\\A\\b ins=D:\\A\\i"},
     {},
     true},
    {"rooted values kept",
     "A\n12\nrun=\\BIN\\x.exe\nins=\\I\nop1=\\DESC\\a.txt\n",
     {"12 T dir=D:\\A desc=\\DESC\\a.txt run=\\BIN\\x.exe ins=\\I"},
     {},
     true,
     true,
     {{"\\DESC\\a.txt", "T"}}},
    {"op2 ignored in Polish",
     "A\n12\nop2=czech.txt\n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt"},
     {},
     true},
    {"op1 used in Polish",
     "A\n12\nop1=pl.txt\nop2=cz.txt\n",
     {"12 T dir=D:\\A desc=D:\\A\\pl.txt"},
     {},
     true},
    {"op2 used in Czech",
     "A\n12\nop1=pl.txt\nop2=cz.txt\n",
     {"12 T dir=D:\\A desc=D:\\A\\cz.txt"},
     {},
     true,
     false},
    {"Czech default", "A\n12\nop1=pl.txt\n", {"12 T dir=D:\\A desc=D:\\A\\opis\\opis2.txt"}, {}, true, false},
    {"category line last in file", "A\n12", {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt"}, {}, true},
    {"directory line last in file",
     "A\n12\n\nB",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt"},
     {Error(5, kD)},
     false},
    {"directory line alone", "\n\nA\n", {}, {Error(4, kD)}, false},
    {"category abc is the root", "A\nabc\n", {"0 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt"}, {}, true},
    {"blank category line is the root",
     "A\n   \nrun=x\n",
     {"0 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt run=D:\\A\\x"},
     {},
     true},
    {"category 2048", "A\n2048\n", {}, {Error(2, kE)}, false},
    {"category -1", "\nA\n-1\n", {}, {Error(3, kE)}, false},
    {"category wrapping past 2^32", "A\n4294967308\n", {}, {Error(2, kE)}, false},
    {"undefined category twice", "A\n77\n\nB\n77\nrun=x", {}, {Warning(3, 77), Warning(6, 77)}, true},
    {"warning names the blank line ending the block",
     "\n\nA\n77\nins=x\n\n\nB\n13\n",
     {"13 T dir=D:\\B desc=D:\\B\\opis\\opis1.txt"},
     {Warning(6, 77)},
     true},
    {"blocks without a blank line", "A\n12\nrun=a\nPROGS\\B\n13\n", {}, {Error(5, kF)}, false},
    {"hash starts a block", "#X\n12\n", {"12 T dir=D:\\#X desc=D:\\#X\\opis\\opis1.txt"}, {}, true},
    {"indentation and CRLF",
     "  A\r\n\t12\r\n  run=x\r\n \t \r\nB\r\n13\r\n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt run=D:\\A\\x",
      "13 T dir=D:\\B desc=D:\\B\\opis\\opis1.txt"},
     {},
     true},
    {"list order kept within a category",
     "A\n12\n\nB\n13\n\nC\n12\n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt", "12 T dir=D:\\C desc=D:\\C\\opis\\opis1.txt",
      "13 T dir=D:\\B desc=D:\\B\\opis\\opis1.txt"},
     {},
     true},
    {"description missing",
     "A\n12\n\nB\n12\nop1=none.txt\n\nC\n12\n",
     {"12 T dir=D:\\A desc=D:\\A\\opis\\opis1.txt"},
     {"Could not open file with description D:\\B\\none.txt"},
     false},
    {"description empty",
     "A\n12\nop1=e.txt\n",
     {},
     {"File D:\\A\\e.txt is empty"},
     false,
     true,
     {{"D:\\A\\e.txt", ""}}},
    {"description first line blank",
     "A\n12\nop1=b.txt\n",
     {},
     {"First line in D:\\A\\b.txt is empty"},
     false,
     true,
     {{"D:\\A\\b.txt", " \t\r\nlater text\n"}}},
    {"directory that cannot be resolved",
     "MISSING\\A\n12\n",
     {},
     {"Could not open file with description MISSING\\A\\opis\\opis1.txt"},
     false},
    {"unresolved directory keeps its backslash",
     "MISSING\\A\n12\nop1=\\D\\t.txt\n",
     {"12 T dir=MISSING\\A\\ desc=\\D\\t.txt"},
     {},
     true,
     true,
     {{"\\D\\t.txt", "T"}}},
    {"empty list", "", {}, {}, true},
    {"blank lines only", "\n  \n\r\n", {}, {}, true},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ProgramListCases : public ::testing::TestWithParam<Case> {};

TEST_P(ProgramListCases, Load) {
  const Case& c = GetParam();
  FakeLoadHost host;
  host.files = c.files;
  host.files[FakeLoadHost::kCategoryFilePolish] = kCategories;
  host.files[FakeLoadHost::kCategoryFileCzech] = kCategories;
  host.files[FakeLoadHost::kProgramList] = c.programList;
  host.otherFilesOnD = "T\nmore text\n";
  const CatalogSources sources{{FakeLoadHost::kCategoryFilePolish, FakeLoadHost::kCategoryFileCzech},
                               FakeLoadHost::kProgramList,
                               {"opis\\opis1.txt", "opis\\opis2.txt"}};
  CategoryTable table;
  EXPECT_EQ(LoadCatalog(sources, LanguageOf(c.isPolish), table, host, host), c.ok);
  EXPECT_EQ(host.messages, c.messages);
  EXPECT_EQ(Describe(table), c.entries);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgramListCases, ::testing::ValuesIn(kCases), CaseName());

TEST(ProgramList, ReadsAloneIntoAPreparedTable) {
  FakeLoadHost host;
  host.otherFilesOnD = "Title";
  CategoryTable table;
  table.AddCategory(0, -1, "", "");
  table.AddCategory(5, 0, "", "");
  TextFile file;
  file.OpenFromString("X\n5\nop2=c.txt\n");
  EXPECT_TRUE(ReadProgramList(file, "D:\\list.txt", Language::kCzech, "d.txt", table, host, host));
  EXPECT_TRUE(file.IsOpen());  // the caller closes it
  EXPECT_EQ(Describe(table), std::vector<std::string>{"5 Title dir=D:\\X desc=D:\\X\\c.txt"});
}

}  // namespace
