#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_load.h"
#include "fake_load_host.h"
#include "temp_dir.h"
#include "case_name.h"

namespace {

const CatalogSources kSources{{FakeLoadHost::kCategoryFilePolish, FakeLoadHost::kCategoryFileCzech},
                              FakeLoadHost::kProgramList,
                              {"opis\\opis1.txt", "opis\\opis2.txt"}};
const std::string kProgramList = FakeLoadHost::kProgramList;

struct OrderCase {
  const char* name;
  std::optional<std::string> categoryFile;  // absent: cannot be opened
  std::optional<std::string> programList;
  std::string message;
  std::vector<std::string> openWhenShown;
  std::vector<std::string> opened;  // the first files opened, in order
};

const std::vector<OrderCase> kOrderCases = {
    {"category file missing", std::nullopt, "", "Could not open file D:\\kat1.txt", {}, {"D:\\kat1.txt"}},
    {"program list missing",
     "",
     std::nullopt,
     "Could not open file D:\\prog.txt",
     {},
     {"D:\\kat1.txt", "D:\\prog.txt"}},
    {"category error", "7;0\n", "", "Error in line nr 1 in file D:\\kat1.txt\nchar ';' not founf", {}, {}},
    {"missing category line",
     "",
     "A",
     "Error in line nr 2 in file D:\\prog.txt\nCouldn't find category number",
     {},
     {}},
    {"bad category",
     "",
     "A\n9999",
     "Error in line nr 2 in file D:\\prog.txt\nInvalid category number\nmust be : 0>=kat_id<2048",
     {},
     {}},
    {"bad option", "", "A\n0\nx", "Error in line nr 3 in file D:\\prog.txt\nInvalid option", {}, {}},
    {"warning keeps the list open",
     "",
     "A\n77",
     "Warning in line nr 2 in file D:\\prog.txt\nCategory number 77 isn't defined",
     {kProgramList},
     {}},
    {"description reported before the list is closed",
     "",
     "A\n0\nop1=none",
     "Could not open file with description D:\\A\\none",
     {kProgramList},
     {}},
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }

class LoadOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(LoadOrder, FilesClosedBeforeTheMessage) {
  const OrderCase& c = GetParam();
  FakeLoadHost host;
  if (c.categoryFile) host.files[FakeLoadHost::kCategoryFilePolish] = *c.categoryFile;
  if (c.programList) host.files[kProgramList] = *c.programList;
  CategoryTable table;
  table.AddCategory(99, 0, "stale", "");
  LoadCatalog(kSources, Language::kPolish, table, host, host);
  EXPECT_EQ(host.messages, std::vector<std::string>{c.message});
  EXPECT_EQ(host.openAtMessage, std::vector<std::vector<std::string>>{c.openWhenShown});
  ASSERT_GE(host.opened.size(), c.opened.size());
  EXPECT_EQ(std::vector<std::string>(host.opened.begin(), host.opened.begin() + c.opened.size()), c.opened);
  // The table is cleared only once both files are open.
  const bool bothOpened = c.categoryFile && c.programList;
  EXPECT_EQ(table.Get(99) == nullptr, bothOpened);
  EXPECT_EQ(table.Get(0) != nullptr, bothOpened);
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadOrder, ::testing::ValuesIn(kOrderCases), CaseName());

TEST(LoadCatalog, CzechUsesItsOwnCategoryFile) {
  FakeLoadHost host;
  host.files[FakeLoadHost::kCategoryFileCzech] = "3;0;Hry\n$\n";
  host.files[kProgramList] = "";
  CategoryTable table;
  ASSERT_TRUE(LoadCatalog(kSources, Language::kCzech, table, host, host));
  EXPECT_EQ(host.opened.front(), FakeLoadHost::kCategoryFileCzech);
  ASSERT_NE(table.Get(3), nullptr);
  EXPECT_EQ(table.Get(3)->name, "Hry");
  const Category* root = table.Get(0);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->parent, -1);
  EXPECT_EQ(root->name, "");
  EXPECT_TRUE(host.openAtMessage.empty());
}

// Serves a disc folder on disk, with D:\ standing for its root, through the real text file.
class DiskHost : public FakeLoadHost {
 public:
  explicit DiskHost(std::string root) : root_(std::move(root)) {}

  bool OpenTextFile(TextFile& file, const std::string& path) override {
    // D: is the current drive, so a path from its root means the same folder.
    std::string_view onDisc = path;
    if (onDisc.rfind("D:", 0) == 0) onDisc.remove_prefix(2);
    if (onDisc.empty() || onDisc[0] != '\\') return false;
    std::string local = root_;
    for (const char c : onDisc) local += c == '\\' ? '/' : c;
    return file.Open(local);
  }

 private:
  std::string root_;
};

// Each file as written, and ending with a DOS end-of-file mark, alone or with text behind it that would be an
// error in every file: the mark ends the file, so all three discs load alike.
class RealFilesOnDisk : public ::testing::TestWithParam<std::string> {};

TEST_P(RealFilesOnDisk, Load) {
  const std::string& end = GetParam();
  const TempDir disc({
      {"kat1.txt",
       "# Kategorie\r\n1;0;Gry\r\nGry dla ka\xbf"
       "dego\r\n$\r\n2;1;Szachy\r\n$\r\n" +
           end},
      {"prog.txt",
       "\r\nGRY\\SZACHY\r\n2\r\nrun=szachy.exe\r\ncop=c:\\gry\r\n\r\nNARZ\\\r\n0\r\nop1=\\OPIS\\n.txt\r\n" +
           end},
      {"GRY/SZACHY/opis/opis1.txt",
       "  Szachy \xa3\xf3"
       "d\xbc\r\nOpis.\r\n" +
           end},
      {"OPIS/n.txt",
       "Narz\xea"
       "dzia" +
           end},
  });
  DiskHost host(disc.path().string());
  CategoryTable table;
  ASSERT_TRUE(LoadCatalog(kSources, Language::kPolish, table, host, host))
      << ::testing::PrintToString(host.messages);
  ASSERT_NE(table.Get(1), nullptr);
  EXPECT_EQ(table.Get(1)->description,
            "Gry dla ka\xbf"
            "dego\r\n");
  ASSERT_EQ(table.Get(2)->programs.size(), 1u);
  const ProgramEntry& chess = *table.Get(2)->programs[0];
  EXPECT_EQ(chess.title,
            "Szachy \xa3\xf3"
            "d\xbc");
  EXPECT_EQ(chess.directory, "D:\\GRY\\SZACHY");
  EXPECT_EQ(chess.runPath, "D:\\GRY\\SZACHY\\szachy.exe");
  EXPECT_EQ(chess.copyDestination, "c:\\gry");
  EXPECT_EQ(chess.installPath, std::nullopt);
  ASSERT_EQ(table.Get(0)->programs.size(), 1u);
  EXPECT_EQ(table.Get(0)->programs[0]->title,
            "Narz\xea"
            "dzia");
  EXPECT_EQ(table.Get(0)->programs[0]->directory, "D:\\NARZ");
  EXPECT_EQ(table.Get(3), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Endings, RealFilesOnDisk,
                         ::testing::Values("", "\x1a",
                                           "\x1a"
                                           "3;0;x;\r\n$\r\nX\r\n9999\r\nop1=\r\n"));

TEST(LoadCatalog, RealDescriptionThatIsAFolder) {
  const TempDir disc({{"kat1.txt", ""}, {"prog.txt", "A\n0\n"}, {"A/opis/opis1.txt/keep", ""}});
  DiskHost host(disc.path().string());
  CategoryTable table;
  EXPECT_FALSE(LoadCatalog(kSources, Language::kPolish, table, host, host));
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"Could not open file with description D:\\A\\opis\\opis1.txt"});
}

}  // namespace
