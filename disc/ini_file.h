#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

// An INI file read the way Windows reads one for a program (its private profile strings): the browser's
// settings file, which the platform reads for the browser, and autorun.inf, which it reads when the disc is
// put in the drive. Down to the mistakes an author can make:
// - CR, LF and CR LF all end a line;
// - a line whose first non-blank is '[' and which holds a ']' starts a section named by what lies between the
//   '[' and the last ']'; a '[' line without ']' is ignored, so the keys below it stay in the section above;
// - any other non-blank line is a key: the name up to the first '=', the value after it; a line without '='
//   names a key without a value, which reads as the default;
// - section and key names match without regard to case, values keep theirs; the first section of a name and
//   its first key of a name count; a section without a name is never found;
// - blanks (space, tab, VT, FF and Ctrl-Z) around names and values are dropped, then everything from a NUL
//   byte on, then one pair of matching quotes (' or ") around a value;
// - ';' and '#' mark nothing: such a line is a key no lookup of the browser's matches;
// - a file that starts with a UTF-8 byte order mark is read as UTF-8 and handed out in code page 1250, the
//   code page of the machines the disc is for (under Wine, at least; Windows may keep the mark as text); one
//   that starts with a UTF-16 byte order mark (Notepad's "Unicode") is read as UTF-16, as Windows reads it.
// A missing file, section or key gives the default. Values are the disc's text, in code page 1250.
class IniFile {
 public:
  struct Value {
    std::string text;
    // The line the value was read from (CR, LF and CR LF each end one); 0 for a default.
    long long line = 0;
  };

  // False when the file cannot be read; every value is then the default.
  bool Load(const std::string& path);
  // Reads the file's contents, given whole.
  void Parse(std::string_view contents);
  Value Get(const std::string& section, const std::string& key, const std::string& fallback) const;

 private:
  struct Entry {
    Value value;
    bool hasValue = false;
  };
  void AddLine(std::string_view line, long long lineNumber);

  // Keyed by lower-case "section\nkey".
  std::map<std::string, Entry> values_;
  std::set<std::string> sectionsSeen_;
  std::string section_;
  bool sectionCounts_ = true;
};
