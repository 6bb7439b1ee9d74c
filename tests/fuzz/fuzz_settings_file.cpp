// Feeds arbitrary bytes to the checker as the disc's settings file: first to its settings reader, looking up
// every key the browser reads and a few odd ones, then to a whole check of a small, correct disc whose
// settings file they are. The disc is made once per process; only its settings file changes between inputs.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "disc/settings_keys.h"
#include "tools/check/disc_check.h"
#include "disc/ini_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void Write(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  Check(out.good());
}

struct Disc {
  Disc() {
    char pattern[] = "/tmp/fuzz_settings_XXXXXX";
    Check(mkdtemp(pattern) != nullptr);
    root = pattern;
    std::filesystem::create_directories(root / "GRY" / "opis");
    std::filesystem::create_directories(root / "GRY" / "WARCABY");
    Write(root / "kat1.txt", "1;0;Gry\r\n$\r\n");
    Write(root / "kat2.txt", "1;0;Hry\r\n$\r\n");
    // One program found through the default description file and copy folder, one naming its own.
    Write(root / "prog.txt",
          "GRY\r\n1\r\nrun=szachy.exe\r\n\r\n"
          "GRY\\WARCABY\r\n1\r\nins=setup.exe\r\ncop=c:\\gry\\warcaby\r\n"
          "op1=\\GRY\\opis\\opis1.txt\r\nop2=\\GRY\\opis\\opis2.txt\r\n");
    Write(root / "tamo_pl.hlp", "?_");
    Write(root / "tamo_cz.hlp", "?_");
    Write(root / "GRY" / "szachy.exe", "MZ");
    Write(root / "GRY" / "WARCABY" / "setup.exe", "MZ");
    Write(root / "GRY" / "opis" / "opis1.txt", "Szachy\r\n");
    Write(root / "GRY" / "opis" / "opis2.txt",
          "\x8A"
          "achy\r\n");
    settings = root / "tamo_cd.ini";
    // Without a settings file every setting has its default, and the disc is correct: each finding of a run
    // then comes from the settings the input gives, and the checks behind the program list are all reached.
    Check(CheckDisc(root, true).findings.empty());
  }
  ~Disc() {
    std::error_code error;
    std::filesystem::remove_all(root, error);
  }
  std::filesystem::path root;
  std::filesystem::path settings;
};

// Looked up besides every key the browser reads.
const std::pair<const char*, const char*> kOddKeys[] = {
    {"FILES", "PROG"}, {"", ""}, {"files", ""}, {"", "prog"}, {" files ", " prog "}, {"files\nprog", "x"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Disc disc;
  const std::string text(reinterpret_cast<const char*>(data), size);
  Write(disc.settings, text);

  long long lines = 1;
  for (const char c : text) lines += c == '\n' || c == '\r';
  IniFile file;
  Check(file.Load(disc.settings.string()));
  const auto lookUp = [&](const char* section, const std::string& key) {
    const IniFile::Value value = file.Get(section, key, "@fallback@");
    if (value.line == 0) {
      Check(value.text == "@fallback@");
      return;
    }
    Check(value.line >= 1 && value.line <= lines);
    // A value is part of one line, and no longer than the file.
    Check(value.text.find_first_of("\r\n") == std::string::npos);
    Check(value.text.size() < size);
    // Asked again, in other capitals, the same value comes back.
    std::string upper = key;
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    const IniFile::Value again = file.Get(section, upper, "other");
    Check(again.text == value.text && again.line == value.line);
  };
  for (const SettingsKey& key : kSettingsKeys) lookUp(key.section, key.key);
  for (const auto& [section, key] : kOddKeys) lookUp(section, key);

  const CheckReport report = CheckDisc(disc.root, true);
  for (std::size_t i = 1; i < report.findings.size(); ++i) {
    const Finding& a = report.findings[i - 1];
    const Finding& b = report.findings[i];
    Check(a.file < b.file || (a.file == b.file && a.line <= b.line));
  }
  Check(report.ExitCode() == (report.ErrorCount() > 0 ? 2 : report.findings.empty() ? 0 : 1));
  return 0;
}
