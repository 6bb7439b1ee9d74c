#pragma once

#include <string>
#include <vector>

// What the browser's load, the disc checker and the packer find wrong with a disc, each kind under a stable
// code: the tools print it after the text, so that an author can look a finding up and a script can filter
// on it, and the checker merges what both languages' loads find on code, file and line. The texts may change;
// a code, once given, keeps its meaning.
enum class FindingCode {
  // The browser's load; each stops it, but for the undefined category.
  kCannotOpen,            // a category file or program list that cannot be opened
  kNoSemicolon,           // a category header without both semicolons
  kBadCategoryId,         // a header's id outside 1 to 2047
  kBadParentId,           // a header's parent outside 0 to 2047
  kNoCategoryLine,        // a program block whose directory line is the last line of the list
  kBadCategoryNumber,     // a block's category number outside 0 to 2047
  kBadOption,             // an option line too short to hold a value
  kUndefinedCategory,     // a block in a category the category file does not define
  kNoDescriptionFile,     // a block's description file cannot be opened
  kEmptyDescriptionFile,  // it has no line at all
  kBlankTitle,            // its first line is blank
  // The checker's own, on what the browser takes without a word but the user would see.
  kByteOrderMark,         // a UTF-8 byte order mark, which the browser shows as text
  kUtf8Text,              // text in UTF-8, which the browser shows garbled
  kUtf16Text,             // text in UTF-16, which the browser shows as its bytes
  kNoHelpFile,            // a help file the program can open is missing
  kCategoryAgain,         // a category defined a second time
  kOwnParent,             // a category that is its own parent
  kUndefinedParent,       // a category under one that is not defined
  kParentLoop,            // categories that are each other's parents
  kEmptyCategory,         // a category with no programs and no subcategories
  kPathTooLong,           // a path longer than the browser handles
  kUnknownOption,         // an option key the browser ignores
  kOptionAgain,           // an option given twice in one block
  kNoRunFile,             // a run file that does not exist
  kNoInstaller,           // an installer that does not exist
  kNoDroppedDescription,  // the description file of a block the browser drops does not exist
  // The packer's, on what an image could not hold or would hold wrongly.
  kNotInCodePage,      // a character of a catalogue file that code page 1250 lacks
  kNameNotUtf8,        // a name of this machine that is not UTF-8
  kBadNameCharacter,   // a character Windows names cannot hold
  kNameTooLong,        // a name longer than Joliet holds
  kNamesDifferInCase,  // two names Windows would take for one
  kUnreadable,         // a file or folder that cannot be read
  kLinkNowhere,        // a link to nothing
  kLinkOutside,        // a link out of the folder
  kLinkLoop,           // a link to a folder holding it
  kNotFileOrFolder,    // a device, pipe or socket
  kNoProgram,          // no browser to put at the root
  kAutorunNoProgram,   // autorun.inf opens a program the image does not hold
  kAutorunNoOpen,      // autorun.inf opens nothing
  kNameBeyondBmp,      // a name character beyond U+FFFF, which Joliet cannot hold
  kPathTooDeep,        // a path longer than Joliet holds
  kFileTooLarge,       // a file of 4 GiB or more
  kProgramNotFile,     // --program names no file
  kNameClash,          // a folder by the name of a file the packer adds
  kLabelChanged,       // a volume label changed to fit ISO 9660
  kOutputInsideInput,  // an output file inside the folder or over the source it is made of
  // Either tool's, on entries looked at before anything is read.
  kNameWindowsCannotOpen,  // a device's name (CON, NUL, COM1...) or one ending in a dot or a space
  kFolderNotFile,          // a folder where the browser opens a file
  // Either tool's, converting the catalogue's text from the encoding declared.
  kNotUtf8,   // a file declared UTF-8 that is not
  kBadUtf16,  // a UTF-16 file with half a character
  // The checker's, on paths with a drive.
  kOnDriveD,           // a path on drive D:, which is the disc only when the disc is put there
  kLeavesDisc,         // a catalogue path on another drive or a network share
  kCategoryNotNumber,  // a block's category number that is no number, which the browser reads as 0
};

// The code as printed: "no-description-file".
const char* FindingCodeName(FindingCode code);

struct Finding {
  enum class Severity { kError, kWarning };
  Severity severity = Severity::kError;
  FindingCode code = FindingCode::kCannotOpen;
  // The file, as written on the disc relative to its root, in UTF-8.
  std::string file;
  // 0 when the problem concerns the file as a whole.
  long long line = 0;
  // In UTF-8.
  std::string text;
};

// "FILE(LINE): error: TEXT [CODE]", the form compilers use, so editors can jump to the place; always one
// line of UTF-8, control characters and bytes that are not UTF-8 written as \xNN.
std::string FormatFinding(const Finding& finding);

// Ordered by file, then line, as an author goes through them; findings at one place keep their order.
void SortByPlace(std::vector<Finding>& findings);

// The browser's message for a description file that cannot be opened: the load's, and the main window's when
// the file has gone since. The path follows it.
inline constexpr char kNoDescriptionMessage[] = "Could not open file with description ";
