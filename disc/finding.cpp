#include "disc/finding.h"

#include <algorithm>

#include "disc/code_page.h"

const char* FindingCodeName(FindingCode code) {
  switch (code) {
    case FindingCode::kCannotOpen:
      return "cannot-open";
    case FindingCode::kNoSemicolon:
      return "no-semicolon";
    case FindingCode::kBadCategoryId:
      return "bad-category-id";
    case FindingCode::kBadParentId:
      return "bad-parent-id";
    case FindingCode::kNoCategoryLine:
      return "no-category-line";
    case FindingCode::kBadCategoryNumber:
      return "bad-category-number";
    case FindingCode::kBadOption:
      return "bad-option";
    case FindingCode::kUndefinedCategory:
      return "undefined-category";
    case FindingCode::kNoDescriptionFile:
      return "no-description-file";
    case FindingCode::kEmptyDescriptionFile:
      return "empty-description-file";
    case FindingCode::kBlankTitle:
      return "blank-title";
    case FindingCode::kByteOrderMark:
      return "byte-order-mark";
    case FindingCode::kUtf8Text:
      return "utf8-text";
    case FindingCode::kUtf16Text:
      return "utf16-text";
    case FindingCode::kNoHelpFile:
      return "no-help-file";
    case FindingCode::kCategoryAgain:
      return "category-again";
    case FindingCode::kOwnParent:
      return "own-parent";
    case FindingCode::kUndefinedParent:
      return "undefined-parent";
    case FindingCode::kParentLoop:
      return "parent-loop";
    case FindingCode::kEmptyCategory:
      return "empty-category";
    case FindingCode::kPathTooLong:
      return "path-too-long";
    case FindingCode::kUnknownOption:
      return "unknown-option";
    case FindingCode::kOptionAgain:
      return "option-again";
    case FindingCode::kNoRunFile:
      return "no-run-file";
    case FindingCode::kNoInstaller:
      return "no-installer";
    case FindingCode::kNoDroppedDescription:
      return "no-dropped-description";
    case FindingCode::kNotInCodePage:
      return "not-in-code-page";
    case FindingCode::kNameNotUtf8:
      return "name-not-utf8";
    case FindingCode::kBadNameCharacter:
      return "bad-name-character";
    case FindingCode::kNameTooLong:
      return "name-too-long";
    case FindingCode::kNamesDifferInCase:
      return "names-differ-in-case";
    case FindingCode::kUnreadable:
      return "unreadable";
    case FindingCode::kLinkNowhere:
      return "link-nowhere";
    case FindingCode::kLinkOutside:
      return "link-outside";
    case FindingCode::kLinkLoop:
      return "link-loop";
    case FindingCode::kNotFileOrFolder:
      return "not-file-or-folder";
    case FindingCode::kNoProgram:
      return "no-program";
    case FindingCode::kAutorunNoProgram:
      return "autorun-no-program";
    case FindingCode::kAutorunNoOpen:
      return "autorun-no-open";
    case FindingCode::kNameBeyondBmp:
      return "name-beyond-bmp";
    case FindingCode::kPathTooDeep:
      return "path-too-deep";
    case FindingCode::kFileTooLarge:
      return "file-too-large";
    case FindingCode::kProgramNotFile:
      return "program-not-file";
    case FindingCode::kNameClash:
      return "name-clash";
    case FindingCode::kLabelChanged:
      return "label-changed";
    case FindingCode::kOutputInsideInput:
      return "output-inside-input";
    case FindingCode::kNameWindowsCannotOpen:
      return "name-windows-cannot-open";
    case FindingCode::kFolderNotFile:
      return "folder-not-file";
    case FindingCode::kNotUtf8:
      return "not-utf8";
    case FindingCode::kBadUtf16:
      return "bad-utf16";
    case FindingCode::kOnDriveD:
      return "on-drive-d";
    case FindingCode::kLeavesDisc:
      return "leaves-disc";
    case FindingCode::kCategoryNotNumber:
      return "category-not-number";
  }
  return "unknown";
}

std::string FormatFinding(const Finding& finding) {
  std::string text = PrintableUtf8(finding.file);
  if (finding.line > 0) text += "(" + std::to_string(finding.line) + ")";
  text += finding.severity == Finding::Severity::kError ? ": error: " : ": warning: ";
  return text + PrintableUtf8(finding.text) + " [" + FindingCodeName(finding.code) + "]";
}

void SortByPlace(std::vector<Finding>& findings) {
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
}
