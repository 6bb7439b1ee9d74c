#include "tools/help/help_source.h"

#include <algorithm>
#include <utility>

#include "disc/code_page.h"
#include "tools/help/winhelp_file.h"

namespace {

// What the Windows help compiler let authors write: titles shown in the viewer's caption, history and lists,
// and context names.
constexpr std::size_t kMaxTitle = 127;
constexpr std::size_t kMaxId = 255;

bool TooLong(const std::string& text, std::size_t limit) {
  const DecodedUtf8 decoded = DecodeUtf8(text);
  return decoded.valid && decoded.codes.size() > limit;
}

bool IsIdCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Topic ids name the same topic whatever their case: the viewers look contexts up without it.
std::string Folded(const std::string& id) {
  std::string folded = id;
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The characters a backslash makes plain; before anything else a backslash is itself, so that a path such as
// c:\tmp can be written as it is.
bool IsEscapable(char c) {
  return c == '[' || c == ']' || c == '\\' || c == '#' || c == '*' || c == '@' || c == ';';
}

class Reader {
 public:
  // Each error with its line, 0 for the file as a whole.
  using Errors = std::vector<std::pair<int, std::string>>;

  Reader(const std::string& fileName, Errors& errors) : fileName_(fileName), errors_(errors) {}

  void ReadLine(std::string line, int number) {
    if (!CheckCharacters(line, number)) return;
    const std::string trimmed = Trimmed(line);
    if (trimmed.empty()) {
      CloseBlock();
    } else if (line[0] == ';') {
      // A comment, also in the middle of a paragraph.
    } else if (line[0] == '@') {
      CloseBlock();
      ReadDirective(trimmed, number);
    } else if (document_.topics.empty()) {
      if (!textBeforeTopicReported_) Error(number, "text before the first @topic");
      textBeforeTopicReported_ = true;
    } else if (line[0] == '#') {
      CloseBlock();
      OpenBlock(HelpBlock::Kind::kHeading, Trimmed(line.substr(1)), number);
      if (block_.text.empty()) Error(number, "a heading without text");
      CloseBlock();
    } else if (line[0] == '*') {
      CloseBlock();
      OpenBlock(HelpBlock::Kind::kListItem, Trimmed(line.substr(1)), number);
      if (block_.text.empty()) Error(number, "a list item without text");
    } else if (block_.open) {
      block_.lineStarts.push_back({block_.text.size() + 1, number});
      block_.text += ' ' + trimmed;
    } else {
      OpenBlock(HelpBlock::Kind::kParagraph, trimmed, number);
    }
  }

  HelpDocument Finish() {
    CloseBlock();
    if (!titleLine_) errors_.push_back({0, fileName_ + ": error: the help has no @title"});
    if (document_.topics.empty()) errors_.push_back({0, fileName_ + ": error: the help has no @topic"});
    for (auto& [block, run, line] : links_) {
      std::string& target = document_.topics[block.first].blocks[block.second].runs[run].target;
      bool found = false;
      for (const HelpTopic& topic : document_.topics) {
        if (Folded(topic.id) == Folded(target)) {
          target = topic.id;
          found = true;
          break;
        }
      }
      if (!found) Error(line, "a link to the unknown topic '" + target + "'");
    }
    return std::move(document_);
  }

 private:
  // A block being read: its text with the line each part began on, parsed into runs once it ends, so that a
  // link may be wrapped over two lines like any other text.
  struct OpenText {
    bool open = false;
    HelpBlock::Kind kind = HelpBlock::Kind::kParagraph;
    std::string text;
    std::vector<std::pair<std::size_t, int>> lineStarts;
  };
  struct LinkUse {
    std::pair<std::size_t, std::size_t> block;  // topic, block
    std::size_t run;
    int line;
  };

  void Error(int line, const std::string& what) {
    errors_.push_back({line, fileName_ + "(" + std::to_string(line) + "): error: " + what});
  }

  // Tabs become spaces; a character the .hlp file cannot hold, or a control character, is an error.
  bool CheckCharacters(std::string& line, int number) {
    const DecodedUtf8 decoded = DecodeUtf8(line);
    if (!decoded.valid) {
      Error(number, "the text is not UTF-8");
      return false;
    }
    bool clean = true;
    for (const char32_t code : decoded.codes) {
      if ((code < 0x20 && code != '\t') || (code >= 0x7F && code < 0xA0)) {
        Error(number, "the control character " + CodePointName(code));
        clean = false;
      } else if (!InCodePage1250(code)) {
        Error(number, "the character " + CodePointName(code) + " \"" + Utf8(code) +
                          "\" has no code in code page 1250");
        clean = false;
      }
    }
    std::replace(line.begin(), line.end(), '\t', ' ');
    return clean;
  }

  void ReadDirective(const std::string& line, int number) {
    const std::size_t space = line.find(' ');
    const std::string name = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : Trimmed(line.substr(space));
    if (name == "@title") {
      if (titleLine_) {
        Error(number, "@title given again (first on line " + std::to_string(titleLine_) + ")");
      } else if (!document_.topics.empty()) {
        Error(number, "@title must come before the first @topic");
      } else if (rest.empty()) {
        Error(number, "@title needs the help's title");
      } else if (TooLong(rest, kMaxTitle)) {
        Error(number, "the help's title is longer than " + std::to_string(kMaxTitle) + " characters");
      } else {
        document_.title = rest;
        titleLine_ = number;
      }
    } else if (name == "@language") {
      if (languageLine_) {
        Error(number, "@language given again (first on line " + std::to_string(languageLine_) + ")");
      } else if (!document_.topics.empty()) {
        Error(number, "@language must come before the first @topic");
      } else if (rest != "pl" && rest != "cz") {
        Error(number, "@language must be pl or cz");
      } else {
        document_.language = rest == "pl" ? HelpDocument::Language::kPolish : HelpDocument::Language::kCzech;
        languageLine_ = number;
      }
    } else if (name == "@topic") {
      ReadTopic(rest, number);
    } else {
      Error(number, "unknown directive '" + name + "'");
    }
  }

  void ReadTopic(const std::string& rest, int number) {
    const std::size_t space = rest.find(' ');
    HelpTopic topic;
    topic.id = rest.substr(0, space);
    topic.title = space == std::string::npos ? "" : Trimmed(rest.substr(space));
    topic.line = number;
    if (topic.title.empty()) {
      Error(number, "@topic needs an id and a title");
    } else {
      bool valid = true;
      for (const char c : topic.id) valid = valid && IsIdCharacter(c);
      if (!valid) Error(number, "the topic id '" + topic.id + "' may hold only letters, digits and '_'");
      if (topic.id.size() > kMaxId) {
        Error(number, "the topic id is longer than " + std::to_string(kMaxId) + " characters");
      }
      if (TooLong(topic.title, kMaxTitle)) {
        Error(number, "the topic's title is longer than " + std::to_string(kMaxTitle) + " characters");
      }
      for (const HelpTopic& other : document_.topics) {
        if (Folded(other.id) == Folded(topic.id)) {
          Error(number,
                "the topic id '" + topic.id + "' is used already on line " + std::to_string(other.line));
        } else if (WinHelpContextHash(other.id) == WinHelpContextHash(topic.id)) {
          // Windows help finds topics by this hash alone: a link to either would open the same one.
          Error(number, "the topic id '" + topic.id + "' has the same context hash as '" + other.id +
                            "' on line " + std::to_string(other.line) +
                            "; Windows help could not tell them apart, so rename one");
        }
      }
    }
    // The topic is kept even when faulty, so that its text goes on being checked.
    document_.topics.push_back(std::move(topic));
  }

  void OpenBlock(HelpBlock::Kind kind, const std::string& text, int number) {
    block_.open = true;
    block_.kind = kind;
    block_.text = text;
    block_.lineStarts.assign(1, {0, number});
  }

  int LineAt(std::size_t offset) const {
    int line = block_.lineStarts.front().second;
    for (const auto& [start, number] : block_.lineStarts) {
      if (start <= offset) line = number;
    }
    return line;
  }

  void CloseBlock() {
    if (!block_.open) return;
    block_.open = false;
    HelpBlock block;
    block.kind = block_.kind;
    const std::string& text = block_.text;
    std::string plain;
    auto flushPlain = [&] {
      if (!plain.empty()) block.runs.push_back({plain, ""});
      plain.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\\' && i + 1 < text.size() && IsEscapable(text[i + 1])) {
        plain += text[++i];
      } else if (text[i] == '[') {
        const std::size_t open = i;
        std::string linkText;
        bool closed = false;
        for (++i; i < text.size(); ++i) {
          if (text[i] == '\\' && i + 1 < text.size() && IsEscapable(text[i + 1])) {
            linkText += text[++i];
          } else if (text[i] == '[') {
            break;
          } else if (text[i] == ']') {
            closed = true;
            break;
          } else {
            linkText += text[i];
          }
        }
        const std::size_t targetEnd = closed ? text.find(')', i) : std::string::npos;
        if (!closed || i + 1 >= text.size() || text[i + 1] != '(' || targetEnd == std::string::npos) {
          Error(LineAt(open),
                "a '[' that does not begin a link [text](topic_id) (write \\[ for the character)");
          i = open;
          plain += '[';
          continue;
        }
        const std::string target = Trimmed(text.substr(i + 2, targetEnd - i - 2));
        if (Trimmed(linkText).empty()) Error(LineAt(open), "a link without text");
        flushPlain();
        links_.push_back({{document_.topics.size() - 1, document_.topics.back().blocks.size()},
                          block.runs.size(),
                          LineAt(open)});
        block.runs.push_back({linkText, target});
        i = targetEnd;
      } else {
        plain += text[i];
      }
    }
    flushPlain();
    if (const std::size_t length = WinHelpParagraphLength(block); length > kWinHelpMaxParagraph) {
      Error(block_.lineStarts.front().second,
            "the paragraph takes " + std::to_string(length) + " characters in Windows help, which holds " +
                std::to_string(kWinHelpMaxParagraph) + " in one; split it with a blank line");
    }
    if (!block.runs.empty()) document_.topics.back().blocks.push_back(std::move(block));
  }

  const std::string& fileName_;
  Errors& errors_;
  HelpDocument document_;
  int titleLine_ = 0;
  int languageLine_ = 0;
  bool textBeforeTopicReported_ = false;
  OpenText block_;
  std::vector<LinkUse> links_;
};

}  // namespace

HelpDocument ReadHelpSource(const std::string& text, const std::string& fileName,
                            std::vector<std::string>& errors) {
  Reader::Errors found;
  Reader reader(fileName, found);
  std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  for (int number = 1; start < text.size(); ++number) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    reader.ReadLine(std::move(line), number);
    start = end + 1;
  }
  HelpDocument document = reader.Finish();
  // In the order of the lines, whenever each was found (a link is checked once every topic is known).
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [line, error] : found) errors.push_back(PrintableUtf8(error));
  return document;
}
