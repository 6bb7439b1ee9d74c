#pragma once

#include <windows.h>

#include <string>

#include "disc/language.h"
#include "framework/dialog.h"
#include "framework/window.h"
#include "ui/controls/bitmap_push_button.h"

// Asks where a program's directory is to be copied: an editable field with OK, cancel and browse. Browsing
// walks the folder tree by moving the process's current directory (FolderBrowseDialog); when the browser is
// confirmed, the field takes the current directory.
class CopyTargetDialog : public Dialog {
 public:
  CopyTargetDialog();

  // Set by the opener before the run.
  Language language = Language::kPolish;
  // In: the proposed destination. Out: the field's text exactly as the user left it, after IDOK only; any
  // other ending leaves it as it was. The field sets no length limit: the copy command refuses a destination
  // too long for its command line.
  std::string destination;

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;

 private:
  void OnBrowse();

  BitmapPushButton browseButton_;
  BitmapPushButton okButton_;
  BitmapPushButton cancelButton_;
  Window destinationEdit_;
};
