#include "ui/dialogs/about_dialog.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/wine/dialog_script.h"

using namespace script;

namespace {

// Blackens the client area and has the dialog paint it again, as after being covered.
void Repaint(HWND dialog) {
  RECT client;
  GetClientRect(dialog, &client);
  HDC dc = GetDC(dialog);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(dialog, dc);
  InvalidateRect(dialog, nullptr, TRUE);
  UpdateWindow(dialog);
}

TEST(AboutDialogTest, PaintsThePictureOfTheLanguageOnEveryPaint) {
  const std::string polish = NumberedResource(IDB_CONTACT_POLISH);
  const std::string czech = NumberedResource(IDB_CONTACT_CZECH);
  const struct {
    Language language;
    const std::string& picture;
  } cases[] = {{Language::kPolish, polish}, {Language::kCzech, czech}};
  for (const auto& c : cases) {
    SCOPED_TRACE(LanguageName(c.language));
    AboutDialog dialog;
    dialog.language = c.language;
    const auto shows = [&](HWND d) { EXPECT_EQ(ShownBitmap(d, {polish.c_str(), czech.c_str()}), c.picture); };
    DialogScript script({shows, Repaint, shows, Key(VK_ESCAPE)});
    dialog.DoModal();
  }
}

TEST(AboutDialogTest, ClosesOnAClickAnywhereEnterOrEscape) {
  const auto clickAt = [](int x, int y) {
    return [x, y](HWND d) { PostMessageA(d, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); };
  };
  const struct {
    const char* name;
    DialogScript::Step step;
    INT_PTR expected;
  } cases[] = {
      {"click in the corner", clickAt(1, 1), IDOK},
      {"click in the middle", clickAt(215, 240), IDOK},
      {"Enter", Key(VK_RETURN), IDOK},
      {"Escape", Key(VK_ESCAPE), IDCANCEL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AboutDialog dialog;
    DialogScript script({c.step});
    EXPECT_EQ(dialog.DoModal(), c.expected);
  }
}

}  // namespace
