// The disc checker resolves the catalogue's paths with its own portable resolver over a folder; the browser
// lets the platform do it. A disc the checker passes must find the same files in the browser, so both are
// given the same disc, with Polish and Czech names, and the same paths here, and must resolve them alike.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "tests/wine/test_support.h"
#include "tools/check/disc_folder.h"

using namespace testing_support;

namespace {

// The disc is the whole of drive D:, so that a path from its root ("\x") means the same to both. Its names in
// code page 1250, as the catalogue writes them: ŻÓŁW\opis\opis1.txt, GRY\ŻABA\demo.exe, ČEŠTINA\Příliš
// žluťoučký\kůň.txt and an empty folder ŹRÓDŁA.
const char* const kFolders[] = {"\xAF\xD3\xA3W",
                                "\xAF\xD3\xA3W\\opis",
                                "GRY",
                                "GRY\\\xAF"
                                "ABA",
                                "\xC8\x45\x8ATINA",
                                "\xC8\x45\x8ATINA\\P\xF8\xED\x6Ci\x9A \x9Elu\x9Dou\xE8k\xFD",
                                "\x8FR\xD3\x44\xA3\x41"};
const char* const kFiles[] = {"\xAF\xD3\xA3W\\opis\\opis1.txt",
                              "GRY\\\xAF"
                              "ABA\\demo.exe",
                              "\xC8\x45\x8ATINA\\P\xF8\xED\x6Ci\x9A \x9Elu\x9Dou\xE8k\xFD\\k\xF9\xF2.txt"};
// The top folders, removed before and after.
const char* const kTops[] = {"\xAF\xD3\xA3W", "GRY", "\xC8\x45\x8ATINA", "\x8FR\xD3\x44\xA3\x41"};

class PathAgreementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The names are written in the ANSI code page; the tests run in a Polish locale for it (cmake/wine-run.sh
    // refuses to start Wine in a locale that is not generated).
    ASSERT_EQ(GetACP(), 1250u) << "the Wine tests need the Polish locale, code page 1250";
    saved_ = CurrentDirectory();
    Clear();
    for (const char* folder : kFolders) MakeDirectories(std::string("D:\\") + folder);
    for (const char* file : kFiles) WriteTextFile(std::string("D:\\") + file, "x");
    SetCurrentDirectoryOrDie("D:\\");
  }
  void TearDown() override {
    SetCurrentDirectoryOrDie(saved_);
    Clear();
  }
  static void Clear() {
    for (const char* top : kTops) RemoveTree(std::string("D:\\") + top);
  }

  // What the browser's resolvers make of the path (one PathResolver kept for a whole run, as the catalogue
  // load keeps one, and ResolvePath afresh) against what the checker's does, with the drive put in front of a
  // path it resolved; empty when they agree.
  std::string Disagreement(const std::string& path) {
    std::string checker = path;
    if (disc_.Resolve(checker)) checker = checker == "." ? "D:\\" : "D:\\" + checker;
    std::string browser = path;
    ResolvePath(browser);
    std::string cached = path;
    resolver_.Resolve(cached);
    // The browser keeps the drive letter as written; "d:\x" is the file "D:\x".
    for (std::string* resolved : {&browser, &cached}) {
      if (resolved->size() >= 2 && (*resolved)[1] == ':')
        (*resolved)[0] = static_cast<char>(std::toupper((*resolved)[0]));
    }
    if (browser == checker && cached == checker) return "";
    return "\"" + path + "\": browser \"" + browser + "\", browser's cached resolver \"" + cached +
           "\", checker \"" + checker + "\"";
  }

  std::string saved_;
  DiscFolder disc_{"D:\\"};
  PathResolver resolver_;
};

TEST_F(PathAgreementTest, AwkwardPathsResolveAlike) {
  const std::string turtle = "\xAF\xD3\xA3W";
  const std::string lowerTurtle = "\xBF\xF3\xB3w";
  const std::string czech = "\xC8\x45\x8ATINA\\P\xF8\xED\x6Ci\x9A \x9Elu\x9Dou\xE8k\xFD";
  const std::string czechUpper = "\xE8\x65\x9Atina\\P\xD8\xCDLI\x8A \x8ELU\x8DOU\xC8K\xDD";
  const std::string paths[] = {
      "", ".", ".\\" + turtle + "\\opis\\opis1.txt", lowerTurtle + "\\OPIS\\opis1.txt", lowerTurtle + "\\",
      turtle + "\\opis\\..\\opis\\nowy.txt", turtle + "\\..\\..\\" + turtle + "\\x", turtle + "\\\\opis\\x",
      turtle + "\\.\\opis", "\\" + turtle + "\\opis",
      "\\\\" + turtle + "\\opis",  // a network share, not the disc's root
      "\\opis1.txt", turtle + "\\BRAK\\opis1.txt",
      "GRY\\\xBF"
      "aba\\DEMO.EXE",
      "gry\\\xAF"
      "ABA\\demo.exe /q",
      czechUpper + "\\K\xD9\xD2.TXT", czech + "\\", czech + "\\..\\..", "\x8FR\xD3\x44\xA3\x41",
      "\x9Fr\xF3\x64\xB3\x61\\nic", "ZOLW\\opis", "D:\\" + turtle + "\\opis",
      // The disc's own drive, written out: the checker takes it for the disc, as the browser finds it there.
      "d:\\" + lowerTurtle + "\\OPIS\\opis1.txt", "D:" + turtle + "\\opis", "D:\\", "D:", "D:\\BRAK\\x",
      "D:\\..\\GRY\\demo.exe",
      "\\\\GRY",  // a share without a folder: its directory part "\" is the root
  };
  for (const std::string& path : paths) EXPECT_EQ(Disagreement(path), "");
}

// Paths built at random from the disc's names in either case, names it does not hold, ".", "..", doubled and
// trailing backslashes and a start at the root, written with the drive or without.
TEST_F(PathAgreementTest, RandomPathsResolveAlike) {
  const std::vector<std::string> pieces = {
      "\xAF\xD3\xA3W",
      "\xBF\xF3\xB3w",
      "opis",
      "OPIS",
      "opis1.txt",
      "GRY",
      "gry",
      "\xAF"
      "ABA",
      "\xBF"
      "aba",
      "demo.exe",
      "\xC8\x45\x8ATINA",
      "\xE8\x65\x9Atina",
      "P\xF8\xED\x6Ci\x9A \x9Elu\x9Dou\xE8k\xFD",
      "k\xF9\xF2.txt",
      "\x8FR\xD3\x44\xA3\x41",
      "BRAK",
      "ZOLW",
      ".",
      "..",
      "",
  };
  std::mt19937 random(1250);
  const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  int disagreeing = 0;
  for (int round = 0; round < 400 && disagreeing < 5; ++round) {
    std::string path = below(5) == 0 ? "\\" : below(5) == 0 ? ".\\" : below(5) == 0 ? "D:\\" : "";
    const int count = 1 + below(4);
    for (int i = 0; i < count; ++i)
      path += (i > 0 ? "\\" : "") + pieces[below(static_cast<int>(pieces.size()))];
    if (below(6) == 0) path += "\\";
    const std::string disagreement = Disagreement(path);
    if (!disagreement.empty()) {
      ++disagreeing;
      ADD_FAILURE() << "round " << round << ": " << disagreement;
    }
  }
}

}  // namespace
