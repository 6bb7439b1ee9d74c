#pragma once

#include <windows.h>

#include "disc/language.h"
#include "framework/dialog.h"
#include "framework/gdi_object.h"
#include "framework/window.h"
#include "ui/controls/bitmap_push_button.h"

// Asks whether to leave the program. It covers the main window: a background that carries the Polish words,
// with the question picture and the yes (right) and no (left) buttons in the current language laid over them.
// Ends with IDOK for yes and IDCANCEL for no or Escape.
class ExitConfirmDialog : public Dialog {
 public:
  ExitConfirmDialog();

  // Set by the opener before the run.
  Language language = Language::kPolish;

 protected:
  BOOL OnInitDialog() override;

 private:
  // The question picture shown by questionPicture_; released with the dialog object, after the run has
  // destroyed the control.
  Bitmap questionImage_;
  Window questionPicture_;
  BitmapPushButton yesButton_;
  BitmapPushButton noButton_;
};
