#include "disc/ini_file.h"

#include "disc/code_page.h"
#include "disc/text_file.h"

namespace {

// The profile reader's blanks; Ctrl-Z among them, as DOS editors left it at the end of files. CR and LF never
// reach here: they end lines.
constexpr std::string_view kBlanks = " \t\v\f\x1A";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Names and values are kept as C strings: a NUL byte ends them, wherever the blanks were.
std::string UpToNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

// Names match without regard to ASCII case only: the platform's profile reading folds no other letters in
// names, and the browser's names are all ASCII.
std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

void IniFile::AddLine(std::string_view line, long long lineNumber) {
  const std::string_view text = Trim(line);
  if (text.empty()) return;
  if (text[0] == '[') {
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos) return;
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
  if (equals != std::string_view::npos) {
    std::string value = UpToNul(Trim(text.substr(equals + 1)));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
      value = value.substr(1, value.size() - 2);
    }
    entry.value = Value{value, lineNumber};
    entry.hasValue = true;
  }
  values_.emplace(section_ + '\n' + name, entry);
}

bool IniFile::Load(const std::string& path) {
  // The platform reads the file whole: Ctrl-Z there is a blank, not the end of the file.
  TextFile file;
  if (!file.Open(path, TextFile::EndMark::kIsText)) {
    Parse({});
    return false;
  }
  Parse(file.ReadRest());
  return true;
}

void IniFile::Parse(std::string_view contents) {
  values_.clear();
  sectionsSeen_.clear();
  // Keys above the first section belong to one without a name, which is never asked for.
  section_.clear();
  sectionCounts_ = true;
  // The platform decodes a UTF-8 file whole, so a sequence the end of the file cuts short takes the rest of
  // the file with it, line end included.
  std::string converted;
  const std::string_view opening = contents.substr(0, 3);
  if (opening == kByteOrderMark || opening.substr(0, 2) == "\xFF\xFE" || opening.substr(0, 2) == "\xFE\xFF") {
    converted = EncodeCodePage1250(DecodeText(contents, TextEncoding::kCodePage1250).codes);
    contents = converted;
  }
  long long lineNumber = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < contents.size(); ++i) {
    if (contents[i] != '\r' && contents[i] != '\n') continue;
    AddLine(contents.substr(start, i - start), ++lineNumber);
    if (contents[i] == '\r' && i + 1 < contents.size() && contents[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < contents.size()) AddLine(contents.substr(start), ++lineNumber);
}

IniFile::Value IniFile::Get(const std::string& section, const std::string& key,
                            const std::string& fallback) const {
  const auto found = values_.find(Lower(section) + '\n' + Lower(key));
  if (found == values_.end() || !found->second.hasValue) return {fallback, 0};
  return found->second.value;
}
