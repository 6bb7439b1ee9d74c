#pragma once

#include <string>
#include <vector>

// A help file as its author wrote it, read from the help source and written out as Windows help (.hlp) and as
// HTML help (.chm). All text is UTF-8; the reader has already made sure that every character has a place in
// code page 1250, the code page the .hlp file is written in.

// A piece of a paragraph: plain text, or a link to another topic when `target` names one.
struct HelpRun {
  std::string text;
  std::string target;  // a topic id; empty for plain text
};

struct HelpBlock {
  enum class Kind {
    kParagraph,
    kHeading,   // a heading inside a topic
    kListItem,  // one item of a bulleted list
  };
  Kind kind = Kind::kParagraph;
  std::vector<HelpRun> runs;  // never empty
};

struct HelpTopic {
  std::string id;     // letters, digits and '_', unique in the document
  std::string title;  // never empty
  std::vector<HelpBlock> blocks;
  int line = 0;  // of the topic's line in the source, for messages
};

struct HelpDocument {
  std::string title;              // the help's title, shown in the viewer's caption
  std::vector<HelpTopic> topics;  // never empty; the first is the contents page
  // The help's language, which HTML help declares; both are written in code page 1250.
  enum class Language { kPolish, kCzech };
  Language language = Language::kPolish;
};
