#pragma once

#include <map>
#include <string>

// The disc's settings file read the way the browser's profile reading reads it: section and key names match
// without regard to case, values keep theirs; the first section of a name and its first key of a name count;
// blanks around names and values are dropped, and one pair of matching quotes around a value too; lines that
// start with ';' are comments. A missing file, section or key gives the default.
class SettingsFile {
 public:
  struct Value {
    std::string text;
    // The line the value was read from; 0 for a default.
    long long line = 0;
  };

  // False when the file cannot be read; every value is then the default.
  bool Load(const std::string& path);
  Value Get(const std::string& section, const std::string& key, const std::string& fallback) const;

 private:
  // Keyed by lower-case "section\nkey".
  std::map<std::string, Value> values_;
};
