#pragma once

#include <windows.h>

#include "disc/language.h"
#include "framework/dialog.h"

// The maker's contact picture in the current language, painted over the whole client area; a left click
// anywhere closes it with IDOK (Enter and Escape close it as in any dialog). Callers ignore the result.
class AboutDialog : public Dialog {
 public:
  AboutDialog();

  // Set by the opener before the run: the language of the picture.
  Language language = Language::kPolish;

 protected:
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  void Paint();
};
