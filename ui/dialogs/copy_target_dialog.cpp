#include "ui/dialogs/copy_target_dialog.h"

#include <direct.h>

#include "disc/path_limit.h"
#include "res/resource.h"
#include "ui/dialogs/folder_browse_dialog.h"

CopyTargetDialog::CopyTargetDialog() : Dialog(IDD_COPY_TARGET) {}

BOOL CopyTargetDialog::OnInitDialog() {
  CenterOverOwner();
  browseButton_.Bind(hwnd_, IDC_BROWSE);
  okButton_.Bind(hwnd_, IDOK);
  cancelButton_.Bind(hwnd_, IDCANCEL);
  destinationEdit_.Attach(Item(IDC_DESTINATION));
  destinationEdit_.SetText(destination);

  // The words of the pictures, in code page 1250, for screen readers; "&" marks the letter Alt presses.
  okButton_.SetText("&OK");
  okButton_.LoadStateBitmaps("BM_OK_U", "BM_OK_D", "BM_OK_F", "");
  if (language == Language::kPolish) {
    cancelButton_.SetText("&Anuluj");
    browseButton_.SetText(
        "&Przegl\xB9"
        "daj...");  // Przeglądaj...
    cancelButton_.LoadStateBitmaps("BM_ANUL_PU", "BM_ANUL_PD", "BM_ANUL_PF", "");
    browseButton_.LoadStateBitmaps("BM_EXPL_PU", "BM_EXPL_PD", "BM_EXPL_PF", "");
  } else {
    cancelButton_.SetText("&Zru\x9Ait");        // Zrušit
    browseButton_.SetText("&Proch\xE1zet...");  // Procházet...
    cancelButton_.LoadStateBitmaps("BM_ANUL_CU", "BM_ANUL_CD", "BM_ANUL_CF", "");
    browseButton_.LoadStateBitmaps("BM_EXPL_CU", "BM_EXPL_CD", "BM_EXPL_CF", "");
  }
  // The first tab stop, the field, takes the focus, so the user can type over the proposal at once.
  return TRUE;
}

bool CopyTargetDialog::OnCommand(int id, int code, HWND /*control*/) {
  static const CommandRoute<CopyTargetDialog> kRoutes[] = {
      {IDC_BROWSE, BN_CLICKED, &CopyTargetDialog::OnBrowse},
  };
  return Route(this, kRoutes, id, code);
}

void CopyTargetDialog::OnOK() {
  destination = destinationEdit_.GetText();
  EndDialog(IDOK);
}

void CopyTargetDialog::OnBrowse() {
  FolderBrowseDialog browser(hwnd_);
  browser.language = language;
  if (browser.DoModal() != IDOK) return;
  // The browser's own answer is the directory it moved the process to; reading that back gives the form the
  // copy command expects (drive letter as the system writes it) rather than the lower-cased display text.
  char directory[kMaxPathLength + 1] = {};
  if (_getcwd(directory, kMaxPathLength) == nullptr) return;
  destinationEdit_.SetText(directory);
}
