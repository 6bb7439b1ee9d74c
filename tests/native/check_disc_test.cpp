#include <sys/stat.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "clean_disc.h"
#include "temp_dir.h"
#include "tools/check/disc_check.h"
#include "tools/check/disc_folder.h"
#include "disc/ini_file.h"

namespace {

using Severity = Finding::Severity;
using Code = FindingCode;
constexpr Severity kError = Severity::kError;
constexpr Severity kWarning = Severity::kWarning;

// The check of a disc holding the files, written where their names say.
CheckReport CheckFiles(const std::map<std::string, std::string>& files, bool withTree = false) {
  const TempDir disc(files);
  return CheckDisc(disc.path(), withTree);
}

struct Expected {
  Severity severity;
  FindingCode code;
  std::string file;
  long long line;
};

// Entries that are not plain files, made after the files: folders, pipes and links (name, target).
struct Entries {
  std::vector<std::string> folders = {};
  std::vector<std::string> fifos = {};
  std::vector<std::pair<std::string, std::string>> links = {};
};

struct FaultCase {
  const char* name;
  // Files replaced (or added) in the clean disc; a value of nullptr removes the file.
  std::vector<std::pair<std::string, const char*>> changes;
  std::vector<Expected> expected;
  Entries entries = {};
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

const std::string kLong(1100, 'x');

class PlantedFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(PlantedFault, IsReportedOnceAtItsPlace) {
  const FaultCase& c = GetParam();
  std::map<std::string, std::string> files = CleanDisc();
  for (const auto& [path, contents] : c.changes) {
    if (contents == nullptr) {
      files.erase(path);
    } else {
      files[path] = contents;
    }
  }
  const TempDir disc(files);
  for (const auto& folder : c.entries.folders) std::filesystem::create_directories(disc.path() / folder);
  for (const auto& fifo : c.entries.fifos) mkfifo((disc.path() / fifo).c_str(), 0644);
  for (const auto& [name, target] : c.entries.links)
    std::filesystem::create_symlink(target, disc.path() / name);
  const CheckReport report = CheckDisc(disc.path(), false);

  std::string all;
  for (const auto& finding : report.findings) all += FormatFinding(finding) + "\n";
  ASSERT_EQ(report.findings.size(), c.expected.size()) << all;
  for (std::size_t i = 0; i < c.expected.size(); ++i) {
    const Finding& got = report.findings[i];
    EXPECT_EQ(got.severity, c.expected[i].severity) << all;
    EXPECT_EQ(got.code, c.expected[i].code) << all;
    EXPECT_EQ(got.file, c.expected[i].file) << all;
    EXPECT_EQ(got.line, c.expected[i].line) << all;
  }
  const bool anyError = std::any_of(c.expected.begin(), c.expected.end(),
                                    [](const Expected& e) { return e.severity == kError; });
  EXPECT_EQ(report.ExitCode(), c.expected.empty() ? 0 : anyError ? 2 : 1);
}

const std::string kKat1 = CleanDisc()["kat1.txt"];
const std::string kProg = CleanDisc()["prog.txt"];
// Each planted text is kept alive for the whole run: the cases hold pointers into them.
const std::string kStray = kKat1 + "stray text\r\n";
const std::string kIdZero = kKat1 + "0;0;Zero\r\nits text\r\n$\r\n";
const std::string kBadParent = kKat1 + "7;-1;Below\r\n$\r\n";
const std::string kOrphan = kKat1 + "7;99;Orphan\r\n$\r\n";
const std::string kSelf = kKat1 + "7;7;Self\r\n$\r\n";
const std::string kLoop = kKat1 + "7;8;A\r\n$\r\n8;7;B\r\n$\r\n9;7;Below the loop\r\n$\r\n";
const std::string kTwice = kKat1 + "2;1;Szachy again\r\n$\r\n";
const std::string kEmpty = kKat1 + "7;1;Empty\r\n$\r\n";
const std::string kUndefined = kProg + "GAMES\\CHESS\r\n77\r\n";
const std::string kUndefinedNoDescription = kProg + "GAMES\\NONE\r\n77\r\n";
const std::string kBadNumber = kProg + "GAMES\\CHESS\r\n3000\r\nrun=chess.exe\r\n";
const std::string kNoNumber = kProg + "LAST\r\n";
const std::string kMissingRun = "GAMES\\CHESS\r\n2\r\nrun=nothere.exe\r\nins=setup.exe /q\r\n\r\n";
const std::string kMissingInstaller = "GAMES\\CHESS\r\n2\r\nrun=chess.exe\r\nins=\\SETUP\\go.exe\r\n";
const std::string kMissingOp1 = "GAMES\\CHESS\r\n2\r\nrun=chess.exe\r\nop1=none.txt\r\n";
const std::string kUnknownKey = "GAMES\\CHESS\r\n2\r\nrnu=chess.exe\r\nrun=chess.exe\r\n";
const std::string kKeyTwice = "GAMES\\CHESS\r\n2\r\nrun=chess.exe\r\nrun=CHESS.EXE\r\n";
const std::string kShortOption = "GAMES\\CHESS\r\n2\r\nrun=\r\nrun=chess.exe\r\n";
// GRY\ŻABA\ŘEKA and Łóżko.exe in code page 1250, as the catalogue writes them; on this machine in UTF-8 and
// in other case.
const std::string kLetters = kProg +
                             "GRY\\\xaf"
                             "ABA\\\xd8"
                             "EKA\r\n2\r\nrun=\xa3\xf3\xbfko.exe\r\n";
const std::string kLettersFolder =
    "gry\\\xc5\xbc"
    "aba\\\xc5\x99"
    "eka\\";
const std::string kLettersRun = kLettersFolder + "\xc5\x82\xc3\x93\xc5\xbbKO.EXE";
const std::string kLettersPolish = kLettersFolder + "opis\\opis1.txt";
const std::string kLettersCzech = kLettersFolder + "opis\\opis2.txt";
const std::string kOtherCase = "games\\Chess\r\n2\r\nrun=CHESS.EXE\r\nins=SetUp.exe /q\r\n";
const std::string kLongRun = "GAMES\\CHESS\r\n2\r\nrun=" + kLong + "\r\n";
const std::string kDeviceRun = "GAMES\\CHESS\\\r\n2\r\nrun=COM1.EXE /x\r\n";
const std::string kUtf8 = "1;0;Hry\r\nNejlep\xc5\xa1\xc3\xad hry\r\n$\r\n2;1;Sachy\r\n$\r\n";

INSTANTIATE_TEST_SUITE_P(
    CheckDisc, PlantedFault,
    ::testing::Values(
        FaultCase{"Clean", {}, {}}, FaultCase{"NamesInOtherCase", {{"prog.txt", kOtherCase.c_str()}}, {}},
        FaultCase{"PolishAndCzechNamesInOtherCase",
                  {{"prog.txt", kLetters.c_str()},
                   {kLettersRun, "MZ"},
                   {kLettersPolish, "\xa3\xf3\xbfko\r\n"},
                   {kLettersCzech, "Postel\r\n"}},
                  {}},
        FaultCase{"SettingsNameOtherFiles",
                  {{"TAMO_CD.INI", "; comment\r\n[Files]\r\n KAT_PL = \"polski.txt\"\r\n"},
                   {"polski.txt", kKat1.c_str()}},
                  {}},
        FaultCase{
            "NoSemicolon", {{"kat1.txt", kStray.c_str()}}, {{kError, Code::kNoSemicolon, "kat1.txt", 6}}},
        FaultCase{"IdZero", {{"kat1.txt", kIdZero.c_str()}}, {{kError, Code::kBadCategoryId, "kat1.txt", 6}}},
        FaultCase{"ParentNegative",
                  {{"kat1.txt", kBadParent.c_str()}},
                  {{kError, Code::kBadParentId, "kat1.txt", 6}}},
        FaultCase{"UndefinedParent",
                  {{"kat1.txt", kOrphan.c_str()}},
                  {{kWarning, Code::kUndefinedParent, "kat1.txt", 6}}},
        FaultCase{"OwnParent", {{"kat1.txt", kSelf.c_str()}}, {{kWarning, Code::kOwnParent, "kat1.txt", 6}}},
        FaultCase{
            "ParentLoop", {{"kat1.txt", kLoop.c_str()}}, {{kWarning, Code::kParentLoop, "kat1.txt", 6}}},
        FaultCase{"DefinedTwice",
                  {{"kat2.txt", kTwice.c_str()}},
                  {{kWarning, Code::kCategoryAgain, "kat2.txt", 6}}},
        FaultCase{"EmptyCategory",
                  {{"kat1.txt", kEmpty.c_str()}},
                  {{kWarning, Code::kEmptyCategory, "kat1.txt", 6}}},
        FaultCase{"UndefinedCategory",
                  {{"prog.txt", kUndefined.c_str()}},
                  {{kWarning, Code::kUndefinedCategory, "prog.txt", 7}}},
        FaultCase{"UndefinedCategoryAndNoDescription",
                  {{"prog.txt", kUndefinedNoDescription.c_str()}},
                  {{kWarning, Code::kNoDroppedDescription, "prog.txt", 6},
                   {kWarning, Code::kUndefinedCategory, "prog.txt", 7}}},
        FaultCase{"CategoryNumberTooBig",
                  {{"prog.txt", kBadNumber.c_str()}},
                  {{kError, Code::kBadCategoryNumber, "prog.txt", 7}}},
        FaultCase{"NoCategoryLine",
                  {{"prog.txt", kNoNumber.c_str()}},
                  {{kError, Code::kNoCategoryLine, "prog.txt", 7}}},
        FaultCase{"MissingRunFile",
                  {{"prog.txt", kMissingRun.c_str()}},
                  {{kWarning, Code::kNoRunFile, "prog.txt", 3}}},
        FaultCase{"MissingInstallerAtRoot",
                  {{"prog.txt", kMissingInstaller.c_str()}},
                  {{kWarning, Code::kNoInstaller, "prog.txt", 4}}},
        FaultCase{"MissingOp1",
                  {{"prog.txt", kMissingOp1.c_str()}},
                  {{kError, Code::kNoDescriptionFile, "prog.txt", 4}}},
        FaultCase{"MissingDefaultDescription",
                  {{"GAMES\\CHESS\\opis\\opis2.txt", nullptr}},
                  {{kError, Code::kNoDescriptionFile, "prog.txt", 1}}},
        FaultCase{"EmptyDescription",
                  {{"GAMES\\CHESS\\opis\\opis1.txt", ""}},
                  {{kError, Code::kEmptyDescriptionFile, "GAMES\\CHESS\\opis\\opis1.txt", 1}}},
        FaultCase{"BlankTitle",
                  {{"GAMES\\CHESS\\opis\\opis2.txt", "  \r\nSachy\r\n"}},
                  {{kError, Code::kBlankTitle, "GAMES\\CHESS\\opis\\opis2.txt", 1}}},
        FaultCase{"UnknownKey",
                  {{"prog.txt", kUnknownKey.c_str()}},
                  {{kWarning, Code::kUnknownOption, "prog.txt", 3}}},
        FaultCase{
            "KeyTwice", {{"prog.txt", kKeyTwice.c_str()}}, {{kWarning, Code::kOptionAgain, "prog.txt", 4}}},
        FaultCase{
            "ShortOption", {{"prog.txt", kShortOption.c_str()}}, {{kError, Code::kBadOption, "prog.txt", 3}}},
        FaultCase{
            "PathTooLong",
            {{"prog.txt", kLongRun.c_str()}},
            {{kWarning, Code::kPathTooLong, "prog.txt", 3}, {kWarning, Code::kNoRunFile, "prog.txt", 3}}},
        FaultCase{"ByteOrderMark",
                  {{"GAMES\\CHESS\\opis\\opis1.txt", "\xef\xbb\xbfSzachy\r\n"}},
                  {{kWarning, Code::kByteOrderMark, "GAMES\\CHESS\\opis\\opis1.txt", 1}}},
        FaultCase{"Utf8Text", {{"kat2.txt", kUtf8.c_str()}}, {{kWarning, Code::kUtf8Text, "kat2.txt", 2}}},
        FaultCase{"NoCategoryFile", {{"kat2.txt", nullptr}}, {{kError, Code::kCannotOpen, "kat2.txt", 0}}},
        FaultCase{"SettingsNameMissingFile",
                  {{"tamo_cd.ini", "[files]\r\nprog=.\\lista.txt\r\n"}},
                  {{kError, Code::kCannotOpen, "tamo_cd.ini", 2}}},
        // A help file is looked for when the program can open it: on a disc with the language chooser both,
        // on a single-language disc only its language's.
        FaultCase{"NoHelpFiles",
                  {{"tamo_pl.hlp", nullptr}, {"tamo_cz.hlp", nullptr}},
                  {{kWarning, Code::kNoHelpFile, "tamo_cz.hlp", 0},
                   {kWarning, Code::kNoHelpFile, "tamo_pl.hlp", 0}}},
        FaultCase{"PolishDiscWithoutHelp",
                  {{"tamo_cd.ini", "[other]\r\nmulti_lang=no\r\nlang=pl\r\n"},
                   {"tamo_pl.hlp", nullptr},
                   {"tamo_cz.hlp", nullptr}},
                  {{kWarning, Code::kNoHelpFile, "tamo_pl.hlp", 0}}},
        FaultCase{"CzechDiscWithoutHelp",
                  {{"tamo_cd.ini", "[other]\r\nmulti_lang=Yes\r\nlang=PL\r\n"},
                   {"tamo_pl.hlp", nullptr},
                   {"tamo_cz.hlp", nullptr}},
                  {{kWarning, Code::kNoHelpFile, "tamo_cz.hlp", 0}}},
        FaultCase{"CzechDiscWithoutPolishHelp",
                  {{"tamo_cd.ini", "[other]\r\nmulti_lang=no\r\nlang=cz\r\n"}, {"tamo_pl.hlp", nullptr}},
                  {}},
        // Told at the key, with the path as the program resolves it; one on another drive is not looked for.
        FaultCase{"SettingsNameMissingHelp",
                  {{"tamo_cd.ini", "[files]\r\nhelp_pl=.\\POMOC\\..\\pomoc\\pl.chm\r\nhelp_vx=POMOC\\\r\n"},
                   {"POMOC\\cz.chm", "?_"}},
                  {{kWarning, Code::kNoHelpFile, "tamo_cd.ini", 2},
                   {kWarning, Code::kNoHelpFile, "tamo_cd.ini", 3}}},
        // Entries looked at before anything is read: a pipe is never opened, a link off the disc never
        // followed, a device's name never opened.
        FaultCase{"PipeAsDescription",
                  {{"GAMES\\CHESS\\opis\\opis1.txt", nullptr}},
                  {{kError, Code::kNotFileOrFolder, "GAMES\\CHESS\\opis\\opis1.txt", 0},
                   {kError, Code::kNoDescriptionFile, "prog.txt", 1}},
                  {{}, {"GAMES/CHESS/opis/opis1.txt"}}},
        FaultCase{"FolderAsCategoryFile",
                  {{"kat1.txt", nullptr}},
                  {{kError, Code::kFolderNotFile, "kat1.txt", 0}, {kError, Code::kCannotOpen, "kat1.txt", 0}},
                  {{"kat1.txt"}}},
        FaultCase{"CategoryFileLinkedOffTheDisc",
                  {{"kat1.txt", nullptr}},
                  {{kError, Code::kLinkOutside, "kat1.txt", 0}, {kError, Code::kCannotOpen, "kat1.txt", 0}},
                  {{}, {}, {{"kat1.txt", "/etc/passwd"}}}},
        FaultCase{"RunFileNamedAsADevice",
                  {{"prog.txt", kDeviceRun.c_str()}, {"GAMES\\CHESS\\Com1.exe", "MZ"}},
                  {{kError, Code::kNameWindowsCannotOpen, "prog.txt", 3}}},
        // The browser finds a path on drive D: when the disc is drive D:; one on another drive is off the
        // disc.
        FaultCase{"ProgramOnDriveD",
                  {{"prog.txt", "d:\\GAMES\\CHESS\r\n2\r\nrun=chess.exe\r\n"}},
                  {{kWarning, Code::kOnDriveD, "prog.txt", 1}}},
        FaultCase{
            "SettingsOnDriveD",
            {{"tamo_cd.ini", "[files]\r\nprog=D:\\prog.txt\r\nhelp_pl=D:tamo_pl.hlp\r\n"}},
            {{kWarning, Code::kOnDriveD, "tamo_cd.ini", 2}, {kWarning, Code::kOnDriveD, "tamo_cd.ini", 3}}},
        FaultCase{"ProgramOnAnotherDrive",
                  {{"prog.txt", "C:\\GAMES\\CHESS\r\n2\r\nrun=chess.exe\r\n"}},
                  {{kError, Code::kLeavesDisc, "prog.txt", 1}}},
        FaultCase{"CategoryFileOnAShare",
                  {{"tamo_cd.ini", "[files]\r\nkat_cz=\\\\server\\kat2.txt\r\n"}},
                  {{kError, Code::kLeavesDisc, "tamo_cd.ini", 2}}},
        FaultCase{"CategoryNumberNotANumber",
                  {{"prog.txt", "GAMES\\CHESS\r\nx10\r\nrun=chess.exe\r\n"}},
                  {{kWarning, Code::kEmptyCategory, "kat1.txt", 4},
                   {kWarning, Code::kEmptyCategory, "kat2.txt", 4},
                   {kWarning, Code::kCategoryNotNumber, "prog.txt", 2}}},
        FaultCase{"HelpOnAnotherDrive",
                  {{"tamo_cd.ini", "[files]\r\nhelp_vx=C:\\POMOC\\cz.chm\r\n"}, {"tamo_cz.hlp", nullptr}},
                  {}}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

// The browser stops at the first fault; the checker reads on and finds the next ones, and a header with a bad
// number takes its description with it instead of having its lines read as headers.
TEST(CheckDisc, ReportsEveryFaultNotOnlyTheFirst) {
  auto files = CleanDisc();
  files["kat1.txt"] = "stray\r\n0;0;Zero\r\nno header; here\r\n$\r\n" + kKat1 + "x;y\r\n";
  files["prog.txt"] =
      "GAMES\\CHESS\r\n2\r\nrun\r\nrun=chess.exe\r\nop\r\n\r\nGAMES\\CHESS\r\n-1\r\n\r\nLAST\r\n";
  std::vector<std::string> lines;
  for (const auto& finding : CheckFiles(files).findings) lines.push_back(FormatFinding(finding));
  EXPECT_EQ(lines,
            (std::vector<std::string>{
                "kat1.txt(1): error: char ';' not founf [no-semicolon]",
                "kat1.txt(2): error: invalid category number; must be 0>kat_id<2048 [bad-category-id]",
                "kat1.txt(10): error: char ';' not founf [no-semicolon]",
                "prog.txt(3): error: Invalid option [bad-option]",
                "prog.txt(5): error: Invalid option [bad-option]",
                "prog.txt(8): error: Invalid category number; must be : 0>=kat_id<2048 [bad-category-number]",
                "prog.txt(11): error: Couldn't find category number [no-category-line]",
            }));
}

TEST(CheckDisc, TreeShowsWhatTheBrowserShows) {
  auto files = CleanDisc();
  // Subcategories in id order whatever the file order; a hidden category nowhere.
  files["kat1.txt"] = "5;0;Piate\r\n$\r\n" + kKat1 + "8;99;Ukryta\r\n$\r\n";
  const CheckReport report = CheckFiles(files, true);
  EXPECT_EQ(report.tree,
            "Polish catalogue (kat1.txt):\n  [1] Gry\n    [2] Szachy\n      - Szachy \u0142\n  [5] Piate\n"
            "Czech catalogue (kat2.txt):\n  [1] Hry\n    [2] Sachy\n      - Sachy\n");
}

// Text after a DOS end-of-file mark is never read by the browser, so the checker neither reports it nor shows
// it: here it would be a fault in every file, and UTF-8 besides.
TEST(CheckDisc, NothingAfterAnEndOfFileMarkCounts) {
  auto files = CleanDisc();
  for (auto& [path, contents] : files) {
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0)
      contents += "\x1a;\r\n-1\r\nx \xc5\x82\r\n";
  }
  files["GAMES\\CHESS\\opis\\opis2.txt"] = "Sachy\x1a\xc5\x82";
  const CheckReport expected = CheckFiles(CleanDisc(), true);
  const CheckReport report = CheckFiles(files, true);
  std::string all;
  for (const auto& finding : report.findings) all += FormatFinding(finding) + "\n";
  EXPECT_EQ(all, "");
  EXPECT_EQ(report.tree, expected.tree);
  EXPECT_NE(report.tree, "");
}

struct RunCase {
  std::vector<std::string> extraArguments;
  const char* kat1;  // nullptr: the clean one
  int exitCode;
  std::vector<std::string> lines;
};

TEST(RunChecker, PrintsFindingsSummaryAndExitCode) {
  const std::string warning = kKat1 + "7;1;Empty\r\n$\r\n";
  const std::string error = kKat1 + "x\r\n";
  const std::string turtle = kKat1 + "7;1;\xaf\xf3\xb3w\r\n$\r\n";
  const std::string escape = kKat1 + "7;1;Red\x1b[31m\tGames\x81\r\n$\r\n";
  const RunCase cases[] = {
      {{}, nullptr, 0, {"0 errors, 0 warnings"}},
      {{},
       warning.c_str(),
       1,
       {"kat1.txt(6): warning: category 7 (Empty) is empty: no programs and no subcategories "
        "[empty-category]",
        "0 errors, 1 warning"}},
      {{},
       error.c_str(),
       2,
       {"kat1.txt(6): error: char ';' not founf [no-semicolon]", "1 error, 0 warnings"}},
      // The disc's letters in UTF-8 (--utf8, which once asked for it, still taken); the trees only when
      // asked.
      {{},
       turtle.c_str(),
       1,
       {"kat1.txt(6): warning: category 7 (\u017b\u00f3\u0142w) is empty: no programs and no subcategories "
        "[empty-category]",
        "0 errors, 1 warning"}},
      // Control characters written out, so that a finding is one line and leaves the terminal as it was.
      {{},
       escape.c_str(),
       1,
       {"kat1.txt(6): warning: category 7 (Red\\x1b[31m\\x09Games\\xc2\\x81) is empty: no programs and no "
        "subcategories [empty-category]",
        "0 errors, 1 warning"}},
      {{"--tree", "--utf8"},
       nullptr,
       0,
       {"Polish catalogue (kat1.txt):", "  [1] Gry", "    [2] Szachy", "      - Szachy \u0142",
        "Czech catalogue (kat2.txt):", "  [1] Hry", "    [2] Sachy", "      - Sachy",
        "0 errors, 0 warnings"}},
  };
  for (const auto& c : cases) {
    auto files = CleanDisc();
    if (c.kat1 != nullptr) files["kat1.txt"] = c.kat1;
    const TempDir disc(files);
    std::ostringstream out, errors;
    std::vector<std::string> arguments = c.extraArguments;
    arguments.push_back(disc.path().string());
    EXPECT_EQ(RunChecker(arguments, out, errors), c.exitCode);
    std::vector<std::string> lines;
    std::istringstream printed(out.str());
    for (std::string line; std::getline(printed, line);) lines.push_back(line);
    EXPECT_EQ(lines, c.lines);
  }
}

TEST(RunChecker, RefusesWhatIsNotADiscFolder) {
  TempDir disc;
  std::ostringstream out, errors;
  EXPECT_EQ(RunChecker({(disc.path() / "absent").string()}, out, errors), 2);
  EXPECT_EQ(RunChecker({"--bogus"}, out, errors), 2);
  EXPECT_EQ(RunChecker({disc.path().string(), disc.path().string()}, out, errors), 2);
  EXPECT_EQ(out.str(), "");
}

TEST(DiscFolder, ResolvesAsTheBrowserDoes) {
  TempDir dir;
  dir.Write("GRY/SZACHY/hetman.exe", "MZ");
  const DiscFolder disc(dir.path());
  const std::pair<std::string, std::string> cases[] = {
      {".\\prog.txt", "prog.txt"},
      {"prog.txt", "prog.txt"},
      {"GRY\\SZACHY", "GRY\\SZACHY"},
      {"GRY\\SZACHY\\", "GRY\\SZACHY"},
      {"gry\\szachy\\.\\setup", "gry\\szachy\\setup"},
      {"GRY\\..\\GRY\\SZACHY\\x", "GRY\\SZACHY\\x"},
      {".", "."},
      {"GRY\\NONE\\setup", "GRY\\NONE\\setup"},
      {"\\kat1.txt", "\\kat1.txt"},
      {"C:\\GRY\\x", "C:\\GRY\\x"},
      {"D:\\GRY\\SZACHY\\x", "GRY\\SZACHY\\x"},
      {"d:gry\\szachy", "gry\\szachy"},
      {"D:\\", "."},
      {"D:\\BRAK\\x", "D:\\BRAK\\x"},
      {"\\\\GRY\\SZACHY\\x", "\\\\GRY\\SZACHY\\x"},
      {"GRY\\" + kLong, "GRY\\" + kLong},
  };
  for (const auto& [input, expected] : cases) {
    std::string path = input;
    disc.Resolve(path);
    EXPECT_EQ(path, expected) << input;
  }
  EXPECT_TRUE(disc.IsFile("gry\\szachy\\HETMAN.EXE"));
  EXPECT_TRUE(disc.IsFile("\\GRY\\SZACHY\\hetman.exe"));
  EXPECT_FALSE(disc.IsFile("GRY\\SZACHY"));
  EXPECT_TRUE(disc.IsFile("D:\\GRY\\SZACHY\\hetman.exe"));
  EXPECT_FALSE(disc.IsFile("E:\\GRY\\SZACHY\\hetman.exe"));
}

TEST(IniFile, ReadsAsProfileReadingDoes) {
  TempDir dir;
  const std::string path =
      dir.Write("tamo_cd.ini",
                "[other]\r\nmulti_lang=no\r\n; lang=cz\r\n[FILES]\r\n  Kat_PL =  'a b.txt' \r\n"
                "kat_pl=second.txt\r\nprog=\"x\r\n[files]\r\nkat_cz=ignored.txt\r\n");
  IniFile settings;
  ASSERT_TRUE(settings.Load(path));
  const struct {
    const char* section;
    const char* key;
    std::string text;
    long long line;
  } cases[] = {
      {"Other", "MULTI_LANG", "no", 2}, {"other", "lang", "default", 0},   {"files", "kat_pl", "a b.txt", 5},
      {"files", "prog", "\"x", 7},      {"files", "kat_cz", "default", 0},
  };
  for (const auto& c : cases) {
    const IniFile::Value value = settings.Get(c.section, c.key, "default");
    EXPECT_EQ(value.text, c.text) << c.key;
    EXPECT_EQ(value.line, c.line) << c.key;
  }
  EXPECT_FALSE(settings.Load((dir.path() / "none.ini").string()));
}

// The sample disc carries neither program files nor help files of its own (they are made when a disc is put
// together, the program files listed beside the disc); everything else on it must pass.
TEST(CheckDisc, SampleDiscIsCleanButForItsProgramAndHelpFiles) {
  const std::filesystem::path sample = TAMO_SAMPLE_DISC;
  std::ifstream list(sample / "EXECUTABLES.txt", std::ios::binary);
  std::vector<std::string> executables;
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) executables.push_back(line);
  }
  ASSERT_FALSE(executables.empty());
  const CheckReport report = CheckDisc(sample, false);
  EXPECT_EQ(report.ErrorCount(), 0);
  std::vector<std::string> missing;
  std::vector<std::string> help;
  for (const auto& finding : report.findings) {
    if (finding.code == Code::kNoHelpFile) {
      help.push_back(finding.file + ": " + finding.text);
      continue;
    }
    ASSERT_TRUE(finding.code == Code::kNoRunFile || finding.code == Code::kNoInstaller)
        << FormatFinding(finding);
    const std::size_t start = finding.text.find(' ', finding.code == Code::kNoInstaller ? 0 : 4);
    const std::size_t end = finding.text.rfind(" does not exist");
    ASSERT_TRUE(start != std::string::npos && end != std::string::npos) << FormatFinding(finding);
    missing.push_back(finding.text.substr(start + 1, end - start - 1));
  }
  std::sort(missing.begin(), missing.end());
  std::sort(executables.begin(), executables.end());
  EXPECT_EQ(missing, executables);
  EXPECT_EQ(help, (std::vector<std::string>{
                      "tamo_cd.ini: help file tamo_pl.hlp (help_pl in [files]) does not exist",
                      "tamo_cd.ini: help file tamo_cz.hlp (help_vx in [files]) does not exist",
                  }));
}

}  // namespace
