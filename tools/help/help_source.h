#pragma once

#include <string>
#include <vector>

#include "tools/help/help_document.h"

// The help source a disc author writes in any editor: UTF-8 text, LF or CR LF line ends.
//
//   ; a comment line
//   @language pl                      pl (the default) or cz
//   @title The help's title
//   @topic contents Contents          the first topic is the contents page
//   Paragraph text; the lines of one paragraph are joined with a space, a blank line ends it.
//   # A heading
//   * An item of a bulleted list
//   A link to another topic: [link text](topic_id).
//
// A backslash makes the next character plain: \[ \] \\ anywhere, and \# \* \@ \; at the start of a line.
// Every character must have a place in code page 1250, in which the .hlp file is written.

// Reads `text`, the contents of the file `fileName`. Returns the document, or fills `errors` with every fault
// found, in the order of the lines, each "file(line): error: what is wrong" as the disc checker words its
// findings (one line of UTF-8, control characters written as \xNN), and returns a document that must not
// be written.
HelpDocument ReadHelpSource(const std::string& text, const std::string& fileName,
                            std::vector<std::string>& errors);
