#include "tools/check/settings_file.h"

#include <fstream>

#include "framework/text_file.h"
#include "tools/check/code_page_1250.h"

namespace {

// The profile reader's blanks; Ctrl-Z among them, as DOS editors left it at the end of files. CR and LF never
// reach here: they end lines.
constexpr const char* kBlanks = " \t\v\f\x1A";

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Names and values are kept as C strings: a NUL byte ends them, wherever the blanks were.
std::string UpToNul(std::string text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// UTF-8 text in code page 1250: what cannot be decoded, or has no place in the code page, becomes '?', one
// for each byte that cannot be decoded; a sequence cut short by the end of the file is one '?' for all of it.
std::string Utf8To1250(const std::string& text, bool endsFile) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned long code = 0;
    unsigned long least = 0;
    if (byte < 0x80) {
      length = 1;
      code = byte;
    } else if (byte >= 0xC2 && byte <= 0xDF) {
      length = 2;
      code = byte & 0x1F;
      least = 0x80;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      length = 3;
      code = byte & 0x0F;
      least = 0x800;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      length = 4;
      code = byte & 0x07;
      least = 0x10000;
    }
    if (length > 0 && i + length > text.size() && endsFile) return out + '?';
    bool valid = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    valid = valid && code >= least && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    if (!valid) {
      out += '?';
      ++i;
      continue;
    }
    // Beyond the 16-bit range a letter is two UTF-16 units, each of which the code page lacks.
    if (code >= 0x10000) {
      out += "??";
    } else {
      out += CodePage1250FromUnicode(code);
    }
    i += length;
  }
  return out;
}

bool EndsWithNewline(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char last = 0;
  return in.seekg(-1, std::ios::end) && in.get(last) && last == '\n';
}

}  // namespace

void SettingsFile::AddLine(const std::string& line, long long lineNumber) {
  const std::string text = Trim(line);
  if (text.empty()) return;
  if (text[0] == '[') {
    const std::size_t close = text.rfind(']');
    if (close == std::string::npos) return;
    section_ = Lower(UpToNul(Trim(text.substr(1, close - 1))));
    // A second section of the same name is never looked at: the first one answers. One without a name is
    // never found at all.
    sectionCounts_ = !section_.empty() && sectionsSeen_.insert(section_).second;
    return;
  }
  if (!sectionCounts_) return;
  const std::size_t equals = text.find('=');
  const std::string name = Lower(UpToNul(Trim(text.substr(0, equals))));
  Entry entry;
  if (equals != std::string::npos) {
    std::string value = UpToNul(Trim(text.substr(equals + 1)));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
      value = value.substr(1, value.size() - 2);
    }
    entry.value = Value{value, lineNumber};
    entry.hasValue = true;
  }
  values_.emplace(section_ + '\n' + name, entry);
}

bool SettingsFile::Load(const std::string& path) {
  values_.clear();
  sectionsSeen_.clear();
  // Keys above the first section belong to one without a name, which the browser never asks for.
  section_.clear();
  sectionCounts_ = true;
  // The platform reads settings files whole: Ctrl-Z there is a blank, not the end of the file.
  TextFile file;
  if (!file.Open(path, TextFile::EndMark::kIsText)) return false;
  std::string line;
  long long lineNumber = 0;
  bool utf8 = false;
  // Only the last line may end without LF; read one ahead to know which line that is.
  std::string next;
  bool more = file.ReadLine(next);
  for (bool first = true; more; first = false) {
    line.swap(next);
    more = file.ReadLine(next);
    // The platform reads a file with a UTF-8 byte order mark as UTF-8 and gives its values in the ANSI code
    // page, which is 1250 where the disc is used. (Under Wine, at least; Windows may keep the mark as text.)
    if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0) {
      utf8 = true;
      line.erase(0, 3);
    }
    if (utf8) line = Utf8To1250(line, !more && !EndsWithNewline(path));
    // A CR alone ends a line too.
    std::size_t start = 0;
    for (std::size_t cr = line.find('\r'); cr != std::string::npos; cr = line.find('\r', start)) {
      AddLine(line.substr(start, cr - start), ++lineNumber);
      start = cr + 1;
    }
    AddLine(line.substr(start), ++lineNumber);
  }
  return true;
}

SettingsFile::Value SettingsFile::Get(const std::string& section, const std::string& key,
                                      const std::string& fallback) const {
  const auto found = values_.find(Lower(section) + '\n' + Lower(key));
  if (found == values_.end() || !found->second.hasValue) return {fallback, 0};
  return found->second.value;
}
