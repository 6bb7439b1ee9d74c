#pragma once

#include <windows.h>

#include "framework/dialog.h"
#include "ui/controls/bitmap_push_button.h"

// Asks for the language the program runs in: two picture buttons, Polish and Czech, over a full-size
// background. Ends with the id of the button pressed (IDC_POLISH or IDC_CZECH), or IDCANCEL on Escape. Its
// pictures are the same in both languages, so it takes no language flag.
class LanguageDialog : public Dialog {
 public:
  LanguageDialog();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void OnPolish();
  void OnCzech();

  BitmapPushButton polishButton_;
  BitmapPushButton czechButton_;
};
