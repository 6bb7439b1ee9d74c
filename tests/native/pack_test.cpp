#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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

// The clean disc with files replaced or added (nullptr removes one) and links made (name, target).
struct Disc {
  std::vector<std::pair<std::string, const char*>> changes = {};
  std::vector<std::pair<std::string, std::string>> links = {};
};

struct Packed {
  int exitCode;
  std::string out;
};

// Packs the disc into out/disc.iso, which already holds an older image.
Packed Pack(const Disc& disc, const TempDir& folder, const TempDir& out, std::vector<std::string> options) {
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
  out.Write("disc.iso", "older image");
  options.push_back(folder.path().string());
  options.push_back((out.path() / "disc.iso").string());
  std::ostringstream text;
  std::ostringstream errors;
  const int exitCode = RunPacker(options, {}, text, errors);
  return {exitCode, text.str() + errors.str()};
}

struct BadCase {
  const char* name;
  Disc disc;
  std::vector<std::string> options;
  // Where the error is, as printed ("FILE(LINE)"), and its code.
  std::string place;
  FindingCode code;
};

void PrintTo(const BadCase& c, std::ostream* out) { *out << c.name; }

class BadFolder : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadFolder, IsNamedAndNothingIsWritten) {
  const BadCase& c = GetParam();
  const TempDir folder;
  const TempDir out;
  const Packed packed = Pack(c.disc, folder, out, c.options);
  EXPECT_EQ(packed.exitCode, 2);
  std::istringstream lines(packed.out);
  const std::string code = std::string(" [") + FindingCodeName(c.code) + "]";
  bool found = false;
  for (std::string line; std::getline(lines, line);) {
    found = found || (line.rfind(c.place + ": error: ", 0) == 0 && line.size() >= code.size() &&
                      line.compare(line.size() - code.size(), code.size(), code) == 0);
  }
  EXPECT_TRUE(found) << packed.out;
  EXPECT_NE(packed.out.find("nothing written"), std::string::npos) << packed.out;
  // The older image is left as it was, with nothing beside it.
  EXPECT_EQ(Read(out.path() / "disc.iso"), "older image");
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
}

const std::string kLongName(65, 'a');
const std::vector<std::string> kProgram{"--program", "/bin/true"};

const BadCase kBadCases[] = {
    {"character outside the code page",
     {{{"kat1.txt", "1;0;Gry\r\nNajlepsze \xc5\x82\xc4\x85 gry \xe4\xb8\xad \xe2\x82\xac\r\n$\r\n"}}},
     kProgram,
     "kat1.txt(2)",
     FindingCode::kNotInCodePage},
    {"name longer than Joliet holds",
     {{{"GAMES\\" + kLongName, "x"}}},
     kProgram,
     "GAMES\\" + kLongName,
     FindingCode::kNameTooLong},
    {"names differing only in case",
     {{{"GAMES\\CHESS\\Chess.exe", "MZ"}}},
     kProgram,
     "GAMES\\CHESS\\chess.exe",
     FindingCode::kNamesDifferInCase},
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
    {"the checker's error", {{{"kat1.txt", nullptr}}}, kProgram, "kat1.txt", FindingCode::kCannotOpen},
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

TEST(Pack, WritesTheCatalogueInCodePage1250AndEverythingElseAsItIs) {
  const TempDir folder;
  const TempDir out;
  const TempDir program({{"browser.exe", std::string("MZ\0\x90\xff", 5)}});
  // UTF-8 with a byte order mark, a code page 1250 description, a binary file, a long Polish name (which the
  // image must give back in both name trees), a program in a Polish folder named by the list in UTF-8 and a
  // folder link inside.
  const std::string utf8Kat1 =
      "\xEF\xBB\xBF"
      "1;0;Gry\r\nNajlepsze \xc5\x82\xc4\x85\xc4\x87 gry\r\n$\r\n2;1;Szachy\r\n$\r\n";
  const std::string utf8Prog = CleanDisc()["prog.txt"] +
                               "GRY\\\xc5\xbb"
                               "ABA\r\n2\r\nrun=\xc5\xbc"
                               "aba.exe\r\n";
  const Disc disc{{{"kat1.txt", utf8Kat1.c_str()},
                   {"prog.txt", utf8Prog.c_str()},
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
      disc, folder, out, {"--label", "Płyta nr 1", "--program", (program.path() / "browser.exe").string()});
  ASSERT_EQ(packed.exitCode, 0) << packed.out;
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
  files["LINKED/opis1.txt"] = files["GAMES/CHESS/opis/opis1.txt"];
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
  files["autorun.inf"] = "[autorun]\r\nopen=tamo_cd.exe\r\nicon=tamo_cd.exe\r\n";
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

TEST(Pack, ConvertsTextAndMakesLabels) {
  const struct {
    std::string in, out;
    std::size_t errors;
  } texts[] = {
      {"\xEF\xBB\xBFplain", "plain", 0},
      {"\xb3\xb9\xe6 stays", "\xb3\xb9\xe6 stays", 0},
      {"\xc5\x81\xc3\xb3\xc4\x9b\xe2\x82\xac", "\xa3\xf3\xec\x80", 0},
      // Beyond U+FFFF a character is two UTF-16 units, and Windows writes one '?' for each.
      {"\xe4\xb8\xad\xe4\xb8\xad\n\xf0\x9f\x98\x80", "??\n??", 2},
  };
  for (const auto& t : texts) {
    std::vector<Finding> findings;
    EXPECT_EQ(ToCodePage1250(t.in, "f", findings), t.out) << t.in;
    EXPECT_EQ(findings.size(), t.errors) << t.in;
  }
  EXPECT_EQ(VolumeLabel("sample-disc"), "SAMPLE_DISC");
  EXPECT_EQ(VolumeLabel("Žluťoučký kůň"), "_LU_OU_K__K__");
  EXPECT_EQ(VolumeLabel(std::string(40, 'a')), std::string(32, 'A'));
  EXPECT_EQ(VolumeLabel(""), "TAMO_CD");
}

}  // namespace
