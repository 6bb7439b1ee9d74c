#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "case_name.h"
#include "clean_disc.h"
#include "temp_dir.h"
#include "tools/pack/disc_pack.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The clean disc with files replaced or added (nullptr removes one), links made (name, target), folders made
// and files of a size made (sparse, so that a large one costs nothing).
struct Disc {
  std::vector<std::pair<std::string, const char*>> changes = {};
  std::vector<std::pair<std::string, std::string>> links = {};
  std::vector<std::string> folders = {};
  std::vector<std::pair<std::string, std::uintmax_t>> sized = {};
  std::vector<std::string> fifos = {};
};

struct Packed {
  int exitCode;
  std::string out;
};

void MakeDisc(const Disc& disc, const TempDir& folder) {
  auto files = CleanDisc();
  for (const auto& [path, contents] : disc.changes) {
    if (contents == nullptr) {
      files.erase(path);
    } else {
      files[path] = contents;
    }
  }
  for (const auto& [path, contents] : files) folder.Write(path, contents);
  for (const auto& [name, target] : disc.links) fs::create_symlink(target, folder.path() / name);
  for (const auto& name : disc.folders) fs::create_directories(folder.path() / name);
  for (const auto& [name, size] : disc.sized) fs::resize_file(folder.Write(name, ""), size);
  for (const auto& name : disc.fifos) mkfifo((folder.path() / name).c_str(), 0644);
}

// Packs the folder into `image` (out/disc.iso when empty), where out already holds an older image. The clean
// disc is in code page 1250, as the options say unless they say otherwise.
Packed RunPack(const TempDir& folder, const TempDir& out, std::vector<std::string> options,
               const std::string& image = "") {
  out.Write("disc.iso", "older image");
  options.insert(options.begin(), {"--from", "cp1250"});
  options.push_back(folder.path().string());
  options.push_back(image.empty() ? (out.path() / "disc.iso").string() : image);
  std::ostringstream text;
  std::ostringstream errors;
  const int exitCode = RunPacker(options, {}, text, errors);
  return {exitCode, text.str() + errors.str()};
}

Packed Pack(const Disc& disc, const TempDir& folder, const TempDir& out, std::vector<std::string> options) {
  MakeDisc(disc, folder);
  return RunPack(folder, out, std::move(options));
}

// Every file and link of a folder with what it holds (the size alone of a large file).
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).string();
    if (entry.is_symlink()) {
      found[name] = "-> " + fs::read_symlink(entry).string();
    } else if (entry.is_regular_file()) {
      found[name] = entry.file_size() > (1 << 20) ? std::to_string(entry.file_size()) : Read(entry);
    } else {
      found[name] = "folder";
    }
  }
  return found;
}

// The line of the output that tells the error with this place ("FILE(LINE)") and code; empty when none does.
std::string ErrorLine(const std::string& out, const std::string& place, FindingCode code) {
  const std::string start = place + ": error: ";
  const std::string end = std::string(" [") + FindingCodeName(code) + "]";
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(start, 0) == 0 && line.size() >= end.size() &&
        line.compare(line.size() - end.size(), end.size(), end) == 0)
      return line;
  }
  return "";
}

struct BadCase {
  const char* name;
  Disc disc;
  std::vector<std::string> options;
  // Where the error is, as printed ("FILE(LINE)"; <in> stands for the disc folder), and its code.
  std::string place;
  FindingCode code;
  std::string image = "";
};

void PrintTo(const BadCase& c, std::ostream* out) { *out << c.name; }

class BadFolder : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadFolder, IsNamedAndNothingIsWritten) {
  const BadCase& c = GetParam();
  const TempDir folder;
  const TempDir out;
  const auto in = [&](std::string text) {
    for (std::size_t at; (at = text.find("<in>")) != std::string::npos;) text.replace(at, 4, folder.path());
    return text;
  };
  MakeDisc(c.disc, folder);
  const auto before = Snapshot(folder.path());
  const Packed packed = RunPack(folder, out, c.options, in(c.image));
  EXPECT_EQ(packed.exitCode, 2);
  EXPECT_NE(ErrorLine(packed.out, in(c.place), c.code), "") << packed.out;
  EXPECT_NE(packed.out.find("nothing written"), std::string::npos) << packed.out;
  // The folder and the older image are left as they were, with nothing beside them.
  EXPECT_EQ(Snapshot(folder.path()), before);
  EXPECT_TRUE(Read(out.path() / "disc.iso") == "older image");
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
}

const std::string kLongName(65, 'a');
const std::vector<std::string> kProgram{"--program", "/bin/true"};
// "\GAMES\" and these two names make a path of 121 characters.
const std::string kDeepPath = "GAMES\\" + std::string(57, 'a') + "\\" + std::string(56, 'b');

const BadCase kBadCases[] = {
    {"name longer than Joliet holds",
     {{{"GAMES\\" + kLongName, "x"}}},
     kProgram,
     "GAMES\\" + kLongName,
     FindingCode::kNameTooLong},
    {"path longer than Joliet holds", {{{kDeepPath, "x"}}}, kProgram, kDeepPath, FindingCode::kPathTooDeep},
    {"name outside the Basic Multilingual Plane",
     {{{"GAMES\\smile \xf0\x9f\x98\x80.txt", "x"}}},
     kProgram,
     "GAMES\\smile \xf0\x9f\x98\x80.txt",
     FindingCode::kNameBeyondBmp},
    {"file of 4 GiB",
     {{}, {}, {}, {{"GAMES\\disc.img", 4294967296}}},
     kProgram,
     "GAMES\\disc.img",
     FindingCode::kFileTooLarge},
    {"folder named as the generated autorun file",
     {{}, {}, {"AUTORUN.INF"}},
     kProgram,
     "AUTORUN.INF",
     FindingCode::kNameClash},
    {"names differing only in case",
     {{{"GAMES\\CHESS\\Chess.exe", "MZ"}}},
     kProgram,
     "GAMES\\CHESS\\chess.exe",
     FindingCode::kNamesDifferInCase},
    {"device name with an extension",
     {{{"GAMES\\Nul.txt", "x"}}},
     kProgram,
     "GAMES\\Nul.txt",
     FindingCode::kNameWindowsCannotOpen},
    {"folder name ending in a dot",
     {{{"GAMES\\old.\\x", "x"}}},
     kProgram,
     "GAMES\\old.",
     FindingCode::kNameWindowsCannotOpen},
    {"name ending in a space",
     {{{"GAMES\\a ", "x"}}},
     kProgram,
     "GAMES\\a ",
     FindingCode::kNameWindowsCannotOpen},
    {"catalogue linked to a device",
     {{{"kat1.txt", nullptr}}, {{"kat1.txt", "/dev/zero"}}},
     kProgram,
     "kat1.txt",
     FindingCode::kLinkOutside},
    {"name Windows cannot hold",
     {{{"GAMES\\a?b", "x"}}},
     kProgram,
     "GAMES\\a?b",
     FindingCode::kBadNameCharacter},
    {"link out of the folder",
     {{}, {{"GAMES/out", "/etc"}}},
     kProgram,
     "GAMES\\out",
     FindingCode::kLinkOutside},
    {"link to nothing",
     {{}, {{"GAMES/gone", "nowhere"}}},
     kProgram,
     "GAMES\\gone",
     FindingCode::kLinkNowhere},
    {"link round a loop",
     {{}, {{"GAMES/CHESS/up", ".."}}},
     kProgram,
     "GAMES\\CHESS\\up",
     FindingCode::kLinkLoop},
    {"autorun opening a missing program",
     {{{"autorun.inf", "; made by hand\r\n[AutoRun]\r\nicon=tamo_cd.exe\r\nopen=start.exe /x\r\n"}}},
     kProgram,
     "autorun.inf(4)",
     FindingCode::kAutorunNoProgram},
    {"no program", {}, {}, "tamo_cd.exe", FindingCode::kNoProgram},
    {"program that is a folder", {}, {"--program", "/usr"}, "/usr", FindingCode::kProgramNotFile},
    {"FIFO as a description file, named before anything is read",
     {{{"GAMES\\CHESS\\opis\\opis1.txt", nullptr}}, {}, {}, {}, {"GAMES/CHESS/opis/opis1.txt"}},
     kProgram,
     "GAMES\\CHESS\\opis\\opis1.txt",
     FindingCode::kNotFileOrFolder},
    {"catalogue linked out of the folder, named before it is read",
     {{{"kat1.txt", nullptr}}, {{"kat1.txt", "/etc/passwd"}}},
     kProgram,
     "kat1.txt",
     FindingCode::kLinkOutside},
    {"folder where the catalogue should be",
     {{{"kat1.txt", nullptr}}, {}, {"kat1.txt"}},
     kProgram,
     "kat1.txt",
     FindingCode::kCannotOpen},
    {"the checker's error", {{{"kat1.txt", nullptr}}}, kProgram, "kat1.txt", FindingCode::kCannotOpen},
    {"image inside the folder",
     {},
     kProgram,
     "<in>/GAMES/../o.iso",
     FindingCode::kOutputInsideInput,
     "<in>/GAMES/../o.iso"},
    {"image over a file of the folder",
     {},
     kProgram,
     "<in>/kat1.txt",
     FindingCode::kOutputInsideInput,
     "<in>/kat1.txt"},
};

INSTANTIATE_TEST_SUITE_P(Cases, BadFolder, ::testing::ValuesIn(kBadCases), CaseName());

// Everything the image holds, read by a tool of its own.
std::map<std::string, std::string> Extract(const fs::path& image, const TempDir& into) {
  const std::string command = "xorriso -osirrox on -indev '" + image.string() + "' -extract / '" +
                              into.path().string() + "/x' >/dev/null 2>&1";
  std::map<std::string, std::string> files;
  if (std::system(command.c_str()) != 0) return files;
  for (const auto& entry : fs::recursive_directory_iterator(into.path() / "x")) {
    if (entry.is_regular_file())
      files[entry.path().lexically_relative(into.path() / "x").string()] = Read(entry);
  }
  return files;
}

// Text in UTF-16 with its byte order mark, as Notepad saves "Unicode".
std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

const std::u16string kPolish = u"1;0;Gry\r\nNajlepsze łąć gry\r\n$\r\n2;1;Szachy\r\n$\r\n";
const std::string kPolishUtf8 =
    "1;0;Gry\r\nNajlepsze \xc5\x82\xc4\x85\xc4\x87 gry\r\n$\r\n2;1;Szachy\r\n$\r\n";
const std::string kPolish1250 = CleanDisc()["kat1.txt"];
// "STÓŁ" in code page 1250 is D3 A3, which is also UTF-8, for U+04E3.
const std::string kTable1250 = "1;0;ST\xd3\xa3\r\n$\r\n2;1;Szachy\r\n$\r\n";

struct EncodingCase {
  const char* name;
  std::string kat1;
  const char* from;
  // The error both tools find in kat1.txt, at this line, and whether it suggests --from cp1250; without one,
  // what kat1.txt becomes on the disc.
  std::optional<FindingCode> error;
  long long line;
  bool suggestsCodePage;
  std::string onDisc;
  // What tamo_check finds in the folder as it is, without --from.
  std::optional<FindingCode> asIs;
};

void PrintTo(const EncodingCase& c, std::ostream* out) { *out << c.name; }

class Encoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(Encoding, IsReadAsDeclaredByBothTools) {
  const EncodingCase& c = GetParam();
  const TempDir folder;
  const TempDir out;
  MakeDisc({{{"GAMES\\CHESS\\opis\\opis1.txt", "Szachy\r\n"}}}, folder);
  folder.Write("kat1.txt", c.kat1);
  const Packed packed = RunPack(folder, out, {"--from", c.from, "--program", "/bin/true"});
  std::ostringstream checked;
  std::ostringstream ignored;
  const int checkerExit = RunChecker({"--from", c.from, folder.path().string()}, checked, ignored);
  if (c.error) {
    const std::string place = "kat1.txt(" + std::to_string(c.line) + ")";
    EXPECT_EQ(packed.exitCode, 2);
    const std::string line = ErrorLine(packed.out, place, *c.error);
    EXPECT_NE(line, "") << packed.out;
    EXPECT_EQ(line.find("give --from cp1250") != std::string::npos, c.suggestsCodePage) << line;
    EXPECT_EQ(checkerExit, 2);
    EXPECT_EQ(ErrorLine(checked.str(), place, *c.error), line) << checked.str();
  } else {
    EXPECT_EQ(packed.exitCode, 0) << packed.out;
    const TempDir extracted;
    EXPECT_TRUE(Extract(out.path() / "disc.iso", extracted)["kat1.txt"] == c.onDisc);
    EXPECT_EQ(checkerExit, 0) << checked.str();
  }
  std::ostringstream asIs;
  const int asIsExit = RunChecker({folder.path().string()}, asIs, ignored);
  if (c.asIs) {
    EXPECT_NE(asIs.str().find(std::string("[") + FindingCodeName(*c.asIs) + "]"), std::string::npos)
        << asIs.str();
  } else {
    EXPECT_EQ(asIsExit, 0) << asIs.str();
  }
}

const EncodingCase kEncodings[] = {
    {"UTF-8", kPolishUtf8, "utf-8", {}, 0, false, kPolish1250, FindingCode::kUtf8Text},
    {"UTF-8 with a byte order mark",
     "\xEF\xBB\xBF" + kPolishUtf8,
     "utf-8",
     {},
     0,
     false,
     kPolish1250,
     FindingCode::kByteOrderMark},
    {"UTF-16 LE", Utf16(kPolish, false), "utf-8", {}, 0, false, kPolish1250, FindingCode::kUtf16Text},
    {"UTF-16 BE, whatever --from says",
     Utf16(kPolish, true),
     "cp1250",
     {},
     0,
     false,
     kPolish1250,
     FindingCode::kUtf16Text},
    {"code page 1250", kPolish1250, "cp1250", {}, 0, false, kPolish1250, {}},
    {"code page 1250 taken for UTF-8", kPolish1250, "utf-8", FindingCode::kNotUtf8, 2, true, "", {}},
    {"STÓŁ in code page 1250", kTable1250, "cp1250", {}, 0, false, kTable1250, {}},
    {"STÓŁ taken for UTF-8", kTable1250, "utf-8", FindingCode::kNotInCodePage, 1, true, "", {}},
    {"a character the code page lacks", kPolishUtf8 + "3;1;Gry \xe2\x9c\x93\r\n$\r\n", "utf-8",
     FindingCode::kNotInCodePage, 6, true, "", FindingCode::kUtf8Text},
    {"UTF-8 with a stray code page 1250 byte", kPolishUtf8 + "3;1;Warcaby \xb9\r\n$\r\n", "utf-8",
     FindingCode::kNotUtf8, 6, true, "", FindingCode::kUtf8Text},
    {"UTF-16 of an odd length", Utf16(kPolish, false) + "\n", "utf-8", FindingCode::kBadUtf16, 6, false, "",
     FindingCode::kUtf16Text},
};
INSTANTIATE_TEST_SUITE_P(Cases, Encoding, ::testing::ValuesIn(kEncodings), CaseName());

TEST(Pack, WritesTheCatalogueInCodePage1250AndEverythingElseAsItIs) {
  const TempDir folder;
  const TempDir out;
  const TempDir program({{"browser.exe", std::string("MZ\0\x90\xff", 5)}});
  // The catalogue in UTF-8, one file with a byte order mark; a binary file, a long Polish name (which the
  // image must give back in both name trees), a program in a Polish folder named by the list and a folder
  // link inside, whose copy of a description is no text the load reads and so stays as it is.
  const std::string utf8Kat1 =
      "\xEF\xBB\xBF"
      "1;0;Gry\r\nNajlepsze \xc5\x82\xc4\x85\xc4\x87 gry\r\n$\r\n2;1;Szachy\r\n$\r\n";
  const std::string utf8Prog = CleanDisc()["prog.txt"] +
                               "GRY\\\xc5\xbb"
                               "ABA\r\n2\r\nrun=\xc5\xbc"
                               "aba.exe\r\n";
  const char* utf8Chess = "Szachy \xc5\x82\r\nOpis.\r\n";
  const Disc disc{{{"kat1.txt", utf8Kat1.c_str()},
                   {"prog.txt", utf8Prog.c_str()},
                   {"GAMES\\CHESS\\opis\\opis1.txt", utf8Chess},
                   {"GRY\\\xc5\xbb"
                    "ABA\\\xc5\xbc"
                    "aba.exe",
                    "MZ"},
                   {"GRY\\\xc5\xbb"
                    "ABA\\opis\\opis1.txt",
                    "\xc5\xbb"
                    "aba\r\n"},
                   {"GRY\\\xc5\xbb"
                    "ABA\\opis\\opis2.txt",
                    "\xc5\xbd"
                    "\xc3\xa1"
                    "ba\r\n"},
                   {"DATA\\blob.bin", "\xEF\xBB\xBF\xc5\x82\r\n\x1a\xff"},
                   {"DATA\\\xc5\xbb\xc3\xb3\xc5\x82w o bardzo d\xc5\x82ugiej nazwie.txt", "x"}},
                  {{"LINKED", "GAMES/CHESS/opis"}}};
  const Packed packed = Pack(
      disc, folder, out,
      {"--from", "utf-8", "--label", "Płyta nr 1", "--program", (program.path() / "browser.exe").string()});
  // The label had to change: a warning says what it became.
  ASSERT_EQ(packed.exitCode, 1) << packed.out;
  EXPECT_NE(packed.out.find("--label: warning: the volume label \"Płyta nr 1\" becomes P_YTA_NR_1: ISO 9660 "
                            "labels hold only A to Z, 0 to 9 and _, at most 32 of them ["),
            std::string::npos)
      << packed.out;
  EXPECT_NE(packed.out.find("(volume P_YTA_NR_1, 8 folders, 18 files, each read back and compared)"),
            std::string::npos)
      << packed.out;
  EXPECT_EQ(Read(folder.path() / "kat1.txt"), utf8Kat1);

  const TempDir extracted;
  auto expected = CleanDisc();
  std::map<std::string, std::string> files;
  for (const auto& [name, contents] : expected) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    files[path] = contents;
  }
  files["DATA/blob.bin"] = "\xEF\xBB\xBF\xc5\x82\r\n\x1a\xff";
  files["DATA/\xc5\xbb\xc3\xb3\xc5\x82w o bardzo d\xc5\x82ugiej nazwie.txt"] = "x";
  files["LINKED/opis1.txt"] = utf8Chess;
  files["LINKED/opis2.txt"] = files["GAMES/CHESS/opis/opis2.txt"];
  files
      ["GRY/\xc5\xbb"
       "ABA/\xc5\xbc"
       "aba.exe"] = "MZ";
  files
      ["GRY/\xc5\xbb"
       "ABA/opis/opis1.txt"] =
          "\xaf"
          "aba\r\n";
  files
      ["GRY/\xc5\xbb"
       "ABA/opis/opis2.txt"] =
          "\x8e\xe1"
          "ba\r\n";
  files["prog.txt"] = CleanDisc()["prog.txt"] +
                      "GRY\\\xaf"
                      "ABA\r\n2\r\nrun=\xbf"
                      "aba.exe\r\n";
  files["tamo_cd.exe"] = std::string("MZ\0\x90\xff", 5);
  // The drive's name and the AutoPlay line, "Tamo CD – katalog programów / katalog programů" in code page
  // 1250.
  files["autorun.inf"] =
      "[autorun]\r\nopen=tamo_cd.exe\r\nicon=tamo_cd.exe\r\n"
      "label=Tamo CD \x96 katalog program\xf3w / katalog program\xf9\r\n"
      "action=Tamo CD \x96 katalog program\xf3w / katalog program\xf9\r\n";
  files["kat1.txt"] = "1;0;Gry\r\nNajlepsze \xb3\xb9\xe6 gry\r\n$\r\n2;1;Szachy\r\n$\r\n";
  EXPECT_EQ(Extract(out.path() / "disc.iso", extracted), files);
}

TEST(Pack, KeepsTheFoldersOwnProgramAndAutorunAndGoesOnPastWarnings) {
  const TempDir folder;
  const TempDir out;
  const char* autorun = "[autorun]\r\nopen=SETUP\\Tamo_CD.EXE\r\nicon=x.ico\r\n";
  const Packed packed = Pack({{{"setup\\tamo_cd.exe", "MZ own"},
                               {"tamo_cd.exe", "MZ root"},
                               {"autorun.inf", autorun},
                               {"GAMES\\CHESS\\chess.exe", nullptr}}},
                             folder, out, {});
  EXPECT_EQ(packed.exitCode, 1) << packed.out;
  EXPECT_NE(packed.out.find(
                "prog.txt(3): warning: run file GAMES\\CHESS\\chess.exe does not exist [no-run-file]\n0 "
                "errors, 1 warning\nwrote "),
            std::string::npos)
      << packed.out;
  const TempDir extracted;
  const auto files = Extract(out.path() / "disc.iso", extracted);
  EXPECT_EQ(files.at("autorun.inf"), autorun);
  EXPECT_EQ(files.at("tamo_cd.exe"), "MZ root");
  EXPECT_EQ(files.count("GAMES/CHESS/chess.exe"), 0u);
}

// The read-back compares in chunks: a difference anywhere, a byte more or a byte less, is found.
TEST(Pack, ReadBackFindsEveryDifference) {
  const TempDir folder;
  const TempDir out;
  const std::string blob(200000, 'x');
  const Packed packed = Pack({{{"DATA\\blob.bin", blob.c_str()}}}, folder, out, kProgram);
  ASSERT_EQ(packed.exitCode, 0) << packed.out;
  const PackPlan plan = PlanImage({folder.path(), "/bin/true", "", TextEncoding::kCodePage1250});
  const fs::path image = out.path() / "disc.iso";
  EXPECT_EQ(CompareImage(plan.contents, image), std::vector<std::string>{});
  const std::vector<std::string> differs{"Joliet: file DATA/blob.bin differs from what was meant",
                                         "Rock Ridge: file DATA/blob.bin differs from what was meant"};
  for (const std::string& changed :
       {blob.substr(0, 199999) + "y", blob + "x", blob.substr(1), std::string("x")}) {
    folder.Write("DATA/blob.bin", changed);
    EXPECT_EQ(CompareImage(plan.contents, image), differs) << changed.size();
  }
}

// With SOURCE_DATE_EPOCH every time in the image is that one: the same folder, its files touched at other
// times and packed at another moment, makes the same bytes; without a valid one nothing is written.
TEST(Pack, SourceDateEpochMakesTheSameBytes) {
  const TempDir folder;
  const TempDir first;
  const TempDir second;
  MakeDisc({}, folder);
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  ASSERT_EQ(RunPack(folder, first, kProgram).exitCode, 0);
  for (const auto& entry : fs::recursive_directory_iterator(folder.path()))
    fs::last_write_time(entry, fs::file_time_type::clock::now() - std::chrono::hours(1000));
  ASSERT_EQ(RunPack(folder, second, kProgram).exitCode, 0);
  const std::string image = Read(first.path() / "disc.iso");
  EXPECT_TRUE(image == Read(second.path() / "disc.iso"));
  // The volume's creation and modification times: 2023-11-14 22:13:20 UTC.
  EXPECT_EQ(image.substr(16 * 2048 + 813, 34), std::string("2023111422132000\0002023111422132000\0", 34));

  setenv("SOURCE_DATE_EPOCH", "17e8", 1);
  const Packed refused = RunPack(folder, first, kProgram);
  unsetenv("SOURCE_DATE_EPOCH");
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_EQ(refused.out,
            "nothing written\nSOURCE_DATE_EPOCH: error: \"17e8\" is not a number of seconds since 1970 up to "
            "5869583999 (the end of 2155)\n");
}

// The image's files in the order they lie in it, by their first block as xorriso reports it.
std::vector<std::string> FilesByBlock(const fs::path& image) {
  std::vector<std::pair<long, std::string>> found;
  const std::string command = "xorriso -indev '" + image.string() + "' -find / -exec report_lba 2>/dev/null";
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char line[4096];
    long extent = 0;
    long block = 0;
    char name[2048];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
      if (std::sscanf(line, "File data lba: %ld , %ld , %*d , %*d , '%2047[^']'", &extent, &block, name) == 3)
        found.emplace_back(block, name);
    }
    pclose(pipe);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> names;
  for (const auto& [block, name] : found) names.push_back(name);
  return names;
}

// The files the load reads lie in the order it reads them, each language's descriptions together in
// program-list order (not the order of their names), and everything else after them.
TEST(Pack, LaysTheCatalogueOutInTheOrderTheLoadReadsIt) {
  const TempDir folder;
  const TempDir out;
  const Packed packed =
      Pack({{{"tamo_cd.ini", "[files]\r\nprog=.\\prog.txt\r\n"},
             {"prog.txt",
              "ZED\r\n1\r\nrun=z.exe\r\n\r\nALPHA\r\n2\r\nop1=info\\pl.txt\r\nop2=info\\cz.txt\r\n\r\n"
              "GAMES\\CHESS\r\n2\r\n"},
             {"ZED\\z.exe", "MZ"},
             {"ZED\\opis\\opis1.txt", "Zed\r\n"},
             {"ZED\\opis\\opis2.txt", "Zed\r\n"},
             {"ALPHA\\info\\pl.txt", "Alfa\r\n"},
             {"ALPHA\\info\\cz.txt", "Alfa\r\n"},
             {"AAA.bin", "first by name"}}},
           folder, out, kProgram);
  ASSERT_LE(packed.exitCode, 1) << packed.out;
  const std::vector<std::string> expected{
      "/autorun.inf",        "/tamo_cd.exe",       "/tamo_cd.ini",
      "/kat1.txt",           "/kat2.txt",          "/prog.txt",
      "/ZED/opis/opis1.txt", "/ALPHA/info/pl.txt", "/GAMES/CHESS/opis/opis1.txt",
      "/ZED/opis/opis2.txt", "/ALPHA/info/cz.txt", "/GAMES/CHESS/opis/opis2.txt",
  };
  const auto order = FilesByBlock(out.path() / "disc.iso");
  ASSERT_GT(order.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + expected.size()), expected);
}

TEST(Pack, MakesLabels) {
  EXPECT_EQ(VolumeLabel("sample-disc"), "SAMPLE_DISC");
  EXPECT_EQ(VolumeLabel("Žluťoučký kůň"), "_LU_OU_K__K__");
  EXPECT_EQ(VolumeLabel(std::string(40, 'a')), std::string(32, 'A'));
  EXPECT_EQ(VolumeLabel(""), "TAMO_CD");
}

// A tool as a process of its own, its output thrown away, with `bin` first on its PATH.
pid_t Start(const std::vector<std::string>& arguments, const std::string& bin) {
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    setenv("PATH", (bin + ":" + std::getenv("PATH")).c_str(), 1);
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return child;
}

struct InterruptCase {
  const char* name;
  bool help;  // else the packer
  int signal;
};

class Interrupted : public ::testing::TestWithParam<InterruptCase> {};

// A signal in the middle of the work ends the tool as it would have, and takes every temporary file with it:
// the older outputs stay as they were, with nothing beside them.
TEST_P(Interrupted, LeavesNothingBehind) {
  const InterruptCase& c = GetParam();
  const TempDir folder;
  const TempDir out;
  std::vector<std::string> arguments;
  std::function<bool()> working;
  const fs::path pidFile = folder.path() / "compiler.pid";
  if (c.help) {
    // A compiler that runs until it is stopped, so that the signal surely comes while it runs.
    fs::permissions(
        folder.Write("bin/chmcmd", "#!/bin/sh\necho $$ >'" + pidFile.string() + "'\nexec sleep 600\n"),
        fs::perms::owner_all);
    folder.Write("help.txt", "@title T\n@topic a A\nText.\n");
    out.Write("help.hlp", "older");
    out.Write("help.chm", "older");
    arguments = {TAMO_HELP_TOOL, (folder.path() / "help.txt").string(),
                 "--hlp",        (out.path() / "help.hlp").string(),
                 "--chm",        (out.path() / "help.chm").string()};
    working = [&] { return !Read(pidFile).empty(); };
  } else {
    MakeDisc({{}, {}, {}, {{"DATA\\big.bin", 256 << 20}}}, folder);
    out.Write("disc.iso", "older");
    arguments = {TAMO_PACK_TOOL,
                 "--from",
                 "cp1250",
                 "--program",
                 "/bin/true",
                 folder.path().string(),
                 (out.path() / "disc.iso").string()};
    // Once the image is well under way.
    working = [&] {
      for (const auto& entry : fs::directory_iterator(out.path())) {
        if (entry.path().filename().string().rfind(".disc.iso.", 0) == 0 && entry.file_size() > (1 << 20))
          return true;
      }
      return false;
    };
  }
  const pid_t tool = Start(arguments, (folder.path() / "bin").string());
  ASSERT_GT(tool, 0);
  int status = 0;
  bool started = false;
  for (int wait = 0; wait < 12000 && !started && waitpid(tool, &status, WNOHANG) == 0; ++wait) {
    started = working();
    if (!started) usleep(5000);
  }
  ASSERT_TRUE(started) << "the tool ended, or never got under way";
  kill(tool, c.signal);
  ASSERT_EQ(waitpid(tool, &status, 0), tool);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
  std::map<std::string, std::string> left;
  for (const auto& entry : fs::directory_iterator(out.path())) left[entry.path().filename()] = Read(entry);
  const std::map<std::string, std::string> older =
      c.help ? std::map<std::string, std::string>{{"help.chm", "older"}, {"help.hlp", "older"}}
             : std::map<std::string, std::string>{{"disc.iso", "older"}};
  EXPECT_EQ(left, older);
  if (c.help) {
    // The compiler was stopped with the tool, not left running.
    const pid_t compiler = std::atoi(Read(pidFile).c_str());
    EXPECT_TRUE(compiler > 0 && kill(compiler, 0) != 0 && errno == ESRCH) << compiler;
  }
}

const InterruptCase kInterrupts[] = {
    {"packer SIGINT", false, SIGINT},
    {"packer SIGTERM", false, SIGTERM},
    {"packer SIGHUP", false, SIGHUP},
    {"help compiler SIGTERM", true, SIGTERM},
};
INSTANTIATE_TEST_SUITE_P(Signals, Interrupted, ::testing::ValuesIn(kInterrupts), CaseName());

}  // namespace
