#include "tools/check/settings_file.h"

#include <set>

#include "framework/text_file.h"

namespace {

constexpr const char* kBlanks = " \t\r\n\v\f";

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

bool SettingsFile::Load(const std::string& path) {
  values_.clear();
  TextFile file;
  if (!file.Open(path)) return false;
  std::set<std::string> sectionsSeen;
  std::string section;
  bool sectionCounts = false;
  std::string line;
  long long lineNumber = 0;
  while (file.ReadLine(line)) {
    ++lineNumber;
    const std::string text = Trim(line);
    if (text.empty() || text[0] == ';') continue;
    if (text[0] == '[') {
      const std::size_t close = text.find(']');
      section = Lower(Trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
      // A second section of the same name is never looked at: the first one answers.
      sectionCounts = sectionsSeen.insert(section).second;
      continue;
    }
    const std::size_t equals = text.find('=');
    if (!sectionCounts || equals == std::string::npos) continue;
    std::string value = Trim(text.substr(equals + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
      value = value.substr(1, value.size() - 2);
    }
    values_.emplace(section + '\n' + Lower(Trim(text.substr(0, equals))), Value{value, lineNumber});
  }
  return true;
}

SettingsFile::Value SettingsFile::Get(const std::string& section, const std::string& key,
                                      const std::string& fallback) const {
  const auto found = values_.find(Lower(section) + '\n' + Lower(key));
  if (found == values_.end()) return {fallback, 0};
  return found->second;
}
