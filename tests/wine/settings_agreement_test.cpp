// The disc checker reads the settings file with its own portable reader; the browser lets the platform's
// profile reading do it. A disc the checker passes must start the same way, so both readers are given the
// same files here and must return the same value for every key the browser reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "disc/settings_keys.h"
#include "framework/application.h"
#include "tests/wine/test_support.h"
#include "disc/ini_file.h"

using namespace testing_support;

namespace {

struct Key {
  const char* section;
  const char* key;
};

// Every key the browser reads, then a few it does not, looked up with other spellings.
const std::vector<Key> kKeys = [] {
  std::vector<Key> keys;
  for (const SettingsKey& key : kSettingsKeys) keys.push_back({key.section, key.key});
  keys.insert(keys.end(), {{"FILES", "Kat_PL"}, {"Other", "LANG"}, {"files", "x"}, {"dir", "def_copy"}});
  return keys;
}();

// Never a value a file gives by accident.
const char kDefault[] = "@default@";
const char kFolder[] = "D:\\SETAGREE";

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text.substr(0, 400)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\n') {
      out += "\\n\n";
    } else if (byte < 0x20 || byte >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  if (text.size() > 400) out += "...(" + std::to_string(text.size()) + " bytes)";
  return out;
}

// A literal with its NUL bytes.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

std::string Shortened(const std::string& value) {
  return value.size() <= 80 ? Escaped(value)
                            : Escaped(value.substr(0, 40)) + "...(" + std::to_string(value.size()) + ")";
}

class SettingsAgreementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A UTF-8 file's other letters come out in the code page of the process: the tests run in the Polish
    // locale for code page 1250 (cmake/wine-run.sh refuses to start Wine in a locale that is not generated).
    ASSERT_EQ(GetACP(), 1250u) << "the Wine tests need the Polish locale, code page 1250";
    RemoveTree(kFolder);
    MakeDirectories(kFolder);
  }
  void TearDown() override { RemoveTree(kFolder); }

  // Writes the text to a fresh file (the platform keeps recently read settings files cached, so a name is
  // never used twice) and returns one line per key on which the readers differ.
  std::vector<std::string> Disagreements(const std::string& text) {
    const std::string path = std::string(kFolder) + "\\s" + std::to_string(++files_) + ".ini";
    WriteTextFile(path, text);
    app_.SetProfileName(path);
    IniFile file;
    std::vector<std::string> differences;
    if (!file.Load(path)) differences.push_back("the checker cannot read the file");
    for (const Key& key : kKeys) {
      const std::string platform = app_.GetProfileValue(key.section, key.key, kDefault);
      const std::string checker = file.Get(key.section, key.key, kDefault).text;
      if (platform != checker) {
        differences.push_back(std::string("[") + key.section + "] " + key.key + ": platform \"" +
                              Shortened(platform) + "\", checker \"" + Shortened(checker) + "\"");
      }
    }
    DeleteFileA(path.c_str());
    return differences;
  }

  std::string PlatformValue(const std::string& text, const Key& key) {
    const std::string path = std::string(kFolder) + "\\p" + std::to_string(++files_) + ".ini";
    WriteTextFile(path, text);
    app_.SetProfileName(path);
    const std::string value = app_.GetProfileValue(key.section, key.key, kDefault);
    DeleteFileA(path.c_str());
    return value;
  }

  Application app_;
  int files_ = 0;
};

std::string Report(const std::vector<std::string>& differences) {
  std::string out;
  for (const auto& d : differences) out += "  " + d + "\n";
  return out;
}

TEST_F(SettingsAgreementTest, TrickyFilesReadAlike) {
  const std::string v300(300, 'v');
  const std::string v70000 = "c:\\" + std::string(69997, 'w');
  struct Case {
    const char* name;
    std::string text;
    // What the platform gives for [files] prog: pins down the behaviour the checker follows.
    std::string prog;
  };
  const Case cases[] = {
      {"plain CRLF", "[other]\r\nmulti_lang=no\r\nlang=cz\r\n[files]\r\nprog=p.txt\r\n", "p.txt"},
      {"blank and indented lines", "\r\n  \r\n\t[files]\r\n\r\n   prog=p.txt\r\n  \t\r\n", "p.txt"},
      {"spaces around = and names", "[files]\r\n  prog   =   p q.txt   \r\n", "p q.txt"},
      {"tabs around = and names", "[files]\r\n\tprog\t=\tp.txt\t\r\n", "p.txt"},
      {"double quotes", "[files]\r\nprog=\"p q.txt\"\r\n", "p q.txt"},
      {"single quotes", "[files]\r\nprog='p.txt'\r\n", "p.txt"},
      {"quotes inside blanks", "[files]\r\nprog=  \" p \"  \r\n", " p "},
      {"mismatched quotes", "[files]\r\nprog=\"p.txt'\r\n", "\"p.txt'"},
      {"opening quote only", "[files]\r\nprog=\"p.txt\r\n", "\"p.txt"},
      {"closing quote only", "[files]\r\nprog=p.txt\"\r\n", "p.txt\""},
      {"a lone quote", "[files]\r\nprog=\"\r\n", "\""},
      {"two quotes", "[files]\r\nprog=\"\"\r\n", ""},
      {"quotes inside", "[files]\r\nprog=a\"b\"c\r\n", "a\"b\"c"},
      {"doubled quotes", "[files]\r\nprog=\"\"p\"\"\r\n", "\"p\""},
      {"semicolon comment", "[files]\r\n;prog=c.txt\r\nprog=p.txt\r\n", "p.txt"},
      {"hash comment", "[files]\r\n#prog=c.txt\r\nprog=p.txt\r\n", "p.txt"},
      {"indented comment", "[files]\r\n  ; prog=c.txt\r\nprog=p.txt\r\n", "p.txt"},
      {"semicolon in value", "[files]\r\nprog=p.txt ; note\r\n", "p.txt ; note"},
      {"commented section", ";[files]\r\nprog=c.txt\r\n[files]\r\nprog=p.txt\r\n", "p.txt"},
      {"section name in capitals", "[FILES]\r\nprog=p.txt\r\n", "p.txt"},
      {"section name with spaces", "[ files ]\r\nprog=p.txt\r\n", "p.txt"},
      {"section name with inner space", "[fi les]\r\nprog=c.txt\r\n", kDefault},
      {"text after the section", "[files] old\r\nprog=p.txt\r\n", "p.txt"},
      {"the last ] closes the name", "[files] x ] y\r\nprog=c.txt\r\n", kDefault},
      {"[] ends the section above", "[files]\r\n[]\r\nprog=c.txt\r\n", kDefault},
      {"[ without ] is ignored", "[files]\r\n[other\r\nprog=p.txt\r\n", "p.txt"},
      {"section twice in other capitals", "[files]\r\nkat_pl=k.txt\r\n[FILES]\r\nprog=c.txt\r\n", kDefault},
      {"section twice", "[files]\r\nprog=p.txt\r\n[other]\r\n[files]\r\nprog=c.txt\r\nkat_pl=k.txt\r\n",
       "p.txt"},
      {"key twice", "[files]\r\nprog=p.txt\r\nprog=c.txt\r\n", "p.txt"},
      {"key in capitals", "[files]\r\nPROG=p.txt\r\n", "p.txt"},
      // A name alone is a key without a value: it reads as the default and hides a later value.
      {"line without =", "[files]\r\nprog\r\nprog=p.txt\r\n", kDefault},
      {"key without =, alone", "[files]\r\nprog\r\n", kDefault},
      {"key without = after the value", "[files]\r\nprog=p.txt\r\nprog\r\n", "p.txt"},
      {"= in the value", "[files]\r\nprog=a=b.txt\r\n", "a=b.txt"},
      {"empty value", "[files]\r\nprog=\r\n", ""},
      {"blank value", "[files]\r\nprog=   \r\n", ""},
      {"empty name", "[files]\r\n=p.txt\r\nprog=q.txt\r\n", "q.txt"},
      {"LF line ends", "[files]\nprog=p.txt\nkat_pl=k.txt\n", "p.txt"},
      {"CR line ends", "[files]\rprog=p.txt\rkat_pl=k.txt\r", "p.txt"},
      {"mixed line ends", "[other]\rlang=cz\n[files]\r\nprog=p.txt\n\rkat_pl=k\r\r\n", "p.txt"},
      // Read as UTF-8 (under Wine; Windows may take the mark for text of the first line).
      {"UTF-8 byte order mark", "\xEF\xBB\xBF[files]\r\nprog=p.txt\r\n", "p.txt"},
      {"UTF-8 byte order mark twice", "\xEF\xBB\xBF\xEF\xBB\xBF[files]\r\nprog=p.txt\r\n", kDefault},
      {"part of a byte order mark", "\xEF\xBB[files]\r\nprog=p.txt\r\n", kDefault},
      {"code page 1250 after a byte order mark", "\xEF\xBB\xBF[files]\r\nprog=\xB9\xE6\r\n", "??"},
      {"no final newline", "[files]\r\nprog=p.txt", "p.txt"},
      {"no final newline, blank", "[files]\r\nprog=p.txt  ", "p.txt"},
      {"300 characters", "[files]\r\nprog=" + v300 + "\r\n", v300},
      {"70,000 characters", "[directories]\r\ndef_copy=" + v70000 + "\r\n[files]\r\nprog=" + v70000 + "\r\n",
       v70000},
      {"key before any section", "prog=c.txt\r\n[files]\r\nkat_pl=k.txt\r\n", kDefault},
      {"only [", "[\r\nprog=c.txt\r\n[files]\r\nprog=p.txt\r\n", "p.txt"},
      {"unclosed section", "[files\r\nprog=c.txt\r\n", kDefault},
      {"[] section", "[]\r\nprog=c.txt\r\n", kDefault},
      {"bracket in the value", "[files]\r\nprog=[x]\r\n", "[x]"},
      {"code page 1250", "[files]\r\nprog=\xAC\xF3\xB3w\xEA \x9A\xE8\xF8\r\n",
       "\xAC\xF3\xB3w\xEA \x9A\xE8\xF8"},
      {"NUL in a value", Bytes("[files]\r\nprog=p\0q.txt\r\nkat_pl=k.txt\r\n"), "p"},
      {"NUL line", Bytes("[files]\r\n\0\r\nprog=p.txt\r\n"), "p.txt"},
      {"NUL after a blank", Bytes("[files]\r\nprog=p \0 q\r\n"), "p "},
      {"NUL inside quotes", Bytes("[files]\r\nprog=\"p\0q\"\r\n"), "\"p"},
      {"NUL in a name", Bytes("[files]\r\nprog\0x=p.txt\r\n"), "p.txt"},
      {"NUL after a name", Bytes("[files]\r\nprog \0=c.txt\r\n"), kDefault},
      {"NUL in a section name", Bytes("[files\0 old]\r\nprog=p.txt\r\n"), "p.txt"},
      {"NUL as a section name", Bytes("[files]\r\n[\0]\r\nprog=c.txt\r\n"), kDefault},
      {"NUL first", Bytes("\0[files]\r\nprog=c.txt\r\n"), kDefault},
      {"Ctrl-Z", "[files]\r\nprog=p.txt\r\n\x1A\r\nkat_pl=k.txt\r\n", "p.txt"},
      {"Ctrl-Z is a blank", "[files]\x1A\r\n\x1Aprog\x1A=\x1A\"p.txt\"\x1A\r\n", "p.txt"},
      {"vertical tab and form feed are blanks", "[files]\r\nprog=\vp.txt\f\r\n", "p.txt"},
      {"other control bytes are not", "[files]\r\nprog=\x1Bp.txt\x7F\r\n", "\x1Bp.txt\x7F"},
      {"no-break space is not", "[files]\r\nprog=\xA0p.txt\xA0\r\n", "\xA0p.txt\xA0"},
      {"quotes after the blanks", "[files]\r\nprog=\"p.txt\t\"\r\n", "p.txt\t"},
      {"quote, then blank", "[files]\r\nprog=\" \"\r\n", " "},
      {"three quotes", "[files]\r\nprog=\"\"\"\r\n", "\""},
      {"a comment is a key", "[files]\r\n;prog=c.txt\r\n; prog\r\n#prog\r\nprog=p.txt\r\n", "p.txt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Report(Disagreements(c.text)), "") << c.name << "\n" << Escaped(c.text);
    EXPECT_EQ(Shortened(PlatformValue(c.text, {"files", "prog"})), Shortened(c.prog)) << c.name;
  }
}

// The disc's Polish and Czech texts in UTF-8 reach the browser in its code page, 1250 on the machines the
// disc is for; the checker hands them out so whatever code page it runs under.
TEST_F(SettingsAgreementTest, Utf8FilesGiveCodePage1250) {
  const struct {
    std::string text;
    std::string prog;
  } cases[] = {
      {"\xEF\xBB\xBF[files]\nprog=\xC4\x85\xC4\x87\xC5\x82\xC5\xBC \xC4\x8D\xC5\x99\xC5\xAF\n",
       "\xB9\xE6\xB3\xBF \xE8\xF8\xF9"},
      {"\xEF\xBB\xBF[files]\nprog=\xE2\x82\xAC \xE4\xB8\xAD\n", "\x80 ?"},  // no Chinese in 1250
      {"\xEF\xBB\xBF[files]\nprog=\xC4\n", "?"},
      {"\xEF\xBB\xBF[files]\nprog=\xB9\xE6\xEA\n", "???"},
      {"\xEF\xBB\xBF[files]\nprog=\xB9\xE6\xEA", "??"},        // at the end of the file // cut short
      {"\xEF\xBB\xBF[files]\nprog=\xC0\x80x\n", "??x"},        // overlong
      {"\xEF\xBB\xBF[files]\nprog=\xF0\x9F\x98\x80\n", "??"},  // two UTF-16 units
  };
  for (const auto& c : cases) {
    const std::string path = std::string(kFolder) + "\\utf8.ini";
    WriteTextFile(path, c.text);
    IniFile file;
    ASSERT_TRUE(file.Load(path));
    EXPECT_EQ(Escaped(file.Get("files", "prog", kDefault).text), Escaped(c.prog)) << Escaped(c.text);
    EXPECT_EQ(Escaped(PlatformValue(c.text, {"files", "prog"})), Escaped(c.prog)) << Escaped(c.text);
  }
}

// Settings files built at random from the pieces real ones are made of and the mistakes authors make.
class SettingsGenerator {
 public:
  explicit SettingsGenerator(unsigned seed) : random_(seed) {}

  std::string File() {
    std::string text;
    if (Chance(5)) text += "\xEF\xBB\xBF";
    const int lines = Below(14);
    const char* ending = Pick({"\r\n", "\r\n", "\n", "\r"});
    for (int i = 0; i < lines; ++i) {
      text += Line();
      text += Chance(10) ? Pick({"\r\n", "\n", "\r", "\n\r"}) : ending;
    }
    if (Chance(20)) text += Line();
    return text;
  }

 private:
  bool Chance(int percent) { return Below(100) < percent; }
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  const char* Pick(std::initializer_list<const char*> items) {
    return items.begin()[Below(int(items.size()))];
  }

  std::string Blanks() {
    std::string out;
    while (Chance(30)) out += Pick({" ", "\t", "  "});
    return out;
  }
  std::string Cased(std::string name) {
    if (Chance(70)) return name;
    for (char& c : name) {
      if (c >= 'a' && c <= 'z' && Chance(50)) c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
  }
  std::string Value() {
    std::string out;
    const int pieces = Below(4);
    for (int i = 0; i < pieces; ++i) {
      out += Pick({"p.txt", ".\\kat1.txt",  "c:\\tmp",  "yes",  "no", "pl", "cz", " ",
                   "\t",    "\"",           "'",        "=",    ";",  "#",  "[",  "]",
                   "a b",   "\xB9\xE6\xEA", "\x9E\xFD", "\xA5", "x"});
    }
    if (Chance(10)) out = std::string(Pick({"\"", "'"})) + out + Pick({"\"", "'", ""});
    if (Chance(2)) out += std::string(static_cast<std::size_t>(Below(2000)), 'L');
    return out;
  }
  std::string Line() {
    switch (Below(10)) {
      case 0:
        return "";
      case 1:
        return Blanks() + "[" + Blanks() + Cased(Pick({"other", "files", "directories", "file", ""})) +
               Blanks() + Pick({"]", "]", "] x", ""}) + Blanks();
      case 2:
        return Blanks() + Pick({";", "#", "; "}) + Pick({"prog=c.txt", "[files]", "x"});
      case 3:
        return Blanks() + Cased(Pick({"prog", "lang", "kat_pl"})) + Blanks();
      default:
        return Blanks() +
               Cased(Pick({"multi_lang", "lang", "help_pl", "help_vx", "def_copy", "kat_pl", "kat_cz", "prog",
                           "def_opis_pl", "def_opis_cz", "x", "pro g"})) +
               Blanks() + "=" + Blanks() + Value() + Blanks();
    }
  }

  std::mt19937 random_;
};

TEST_F(SettingsAgreementTest, RandomFilesReadAlike) {
  int rounds = 300;
  if (const char* env = std::getenv("TAMO_SETTINGS_ROUNDS")) rounds = std::max(1, std::atoi(env));
  int disagreeing = 0;
  for (int round = 0; round < rounds && disagreeing < 5; ++round) {
    SettingsGenerator generator(static_cast<unsigned>(round) * 7919u + 17u);
    const std::string text = generator.File();
    const auto differences = Disagreements(text);
    if (!differences.empty()) {
      ++disagreeing;
      ADD_FAILURE() << "round " << round << "\n" << Escaped(text) << "\n" << Report(differences);
    }
  }
  std::printf("%d random settings files compared\n", rounds);
}

}  // namespace
