#pragma once

#include <windows.h>

#include <string>

#include "disc/language.h"
#include "disc/path_limit.h"
#include "framework/dialog.h"
#include "ui/controls/bitmap_push_button.h"

// Lets the user pick a folder by walking the subdirectories and drives of the process's current directory:
// each double-click in the list makes the chosen entry the current directory. Nothing moves it back, neither
// on cancel nor when the dialog closes, so the next browse opens where this one was left.
class FolderBrowseDialog : public Dialog {
 public:
  // `parent` is the copy destination dialog, which the browser covers from its top-left corner.
  explicit FolderBrowseDialog(HWND parent);

  // Out, after IDOK: the current directory as the path field shows it.
  std::string selectedPath;
  // Set by the opener before the run.
  Language language = Language::kPolish;

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;

 private:
  void OnListDoubleClick();
  // Lists the directory named by pathSpec_ (entering it) and leaves only the file pattern in pathSpec_. False
  // when the directory cannot be entered; the list and the path field then stay as they were.
  bool ListDirectory();

  // Handed to the platform's directory listing, which rewrites it in place.
  char pathSpec_[kMaxPathLength + 1] = {};
  BitmapPushButton okButton_;
  BitmapPushButton cancelButton_;
};
