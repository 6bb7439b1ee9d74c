#include "ui/dialogs/folder_browse_dialog.h"

#include <cstring>

#include "framework/window.h"
#include "res/resource.h"

namespace {
// Subdirectories and drives, never files.
constexpr UINT kListDirectoriesAndDrives = DDL_DIRECTORY | DDL_DRIVES | DDL_EXCLUSIVE;
// What DlgDirSelectExA may write: one list entry without its brackets.
constexpr int kEntryCapacity = MAX_PATH;
}  // namespace

FolderBrowseDialog::FolderBrowseDialog(HWND parent) : Dialog(IDD_FOLDER_BROWSE, parent) {}

BOOL FolderBrowseDialog::OnInitDialog() {
  okButton_.Bind(hwnd_, IDOK);
  cancelButton_.Bind(hwnd_, IDCANCEL);
  // The words of the pictures, in code page 1250, for screen readers; "&" marks the letter Alt presses.
  okButton_.SetText("&OK");
  okButton_.LoadStateBitmaps("BM_OK_U", "BM_OK_D", "BM_OK_F", "");
  if (language == Language::kPolish) {
    cancelButton_.SetText("&Anuluj");
    cancelButton_.LoadStateBitmaps("BM_ANUL_PU", "BM_ANUL_PD", "BM_ANUL_PF", "");
  } else {
    cancelButton_.SetText("&Zru\x9Ait");  // Zrušit
    cancelButton_.LoadStateBitmaps("BM_ANUL_CU", "BM_ANUL_CD", "BM_ANUL_CF", "");
  }
  // An empty path pattern lists the current directory as it is: the browser opens where the process stands,
  // not on the destination proposed in the copy dialog.
  pathSpec_[0] = '\0';
  ListDirectory();
  return TRUE;
}

bool FolderBrowseDialog::OnCommand(int id, int code, HWND /*control*/) {
  static const CommandRoute<FolderBrowseDialog> kRoutes[] = {
      {IDC_FOLDER_LIST, LBN_DBLCLK, &FolderBrowseDialog::OnListDoubleClick},
  };
  return Route(this, kRoutes, id, code);
}

void FolderBrowseDialog::OnOK() {
  selectedPath = Window(Item(IDC_FOLDER_PATH)).GetText();
  EndDialog(IDOK);
}

void FolderBrowseDialog::OnListDoubleClick() {
  // DlgDirSelectExA leaves its buffer untouched when nothing is selected; without this check an empty entry
  // would list the current directory again.
  if (SendDlgItemMessageA(hwnd_, IDC_FOLDER_LIST, LB_GETCURSEL, 0, 0) == LB_ERR) return;
  char entry[kEntryCapacity] = {};
  DlgDirSelectExA(hwnd_, entry, kEntryCapacity, IDC_FOLDER_LIST);
  // The entry ("name\" for a directory, "x:" for a drive) followed by the pattern the last listing left makes
  // the next path pattern.
  const std::string pattern = pathSpec_;
  const std::string next = entry + pattern;
  if (next.size() >= sizeof pathSpec_) return;
  std::memcpy(pathSpec_, next.c_str(), next.size() + 1);
  // A listing that fails (a directory removed since it was listed, a drive without a disc) leaves the list as
  // it was but the whole path in the buffer; every later entry would be appended to it and fail too.
  if (!ListDirectory()) std::memcpy(pathSpec_, pattern.c_str(), pattern.size() + 1);
}

bool FolderBrowseDialog::ListDirectory() {
  return DlgDirListA(hwnd_, pathSpec_, IDC_FOLDER_LIST, IDC_FOLDER_PATH, kListDirectoriesAndDrives) != 0;
}
