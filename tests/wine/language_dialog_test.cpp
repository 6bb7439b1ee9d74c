#include "ui/dialogs/language_dialog.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/wine/dialog_script.h"

using namespace script;

namespace {

struct WayOut {
  const char* name;
  std::vector<DialogScript::Step> steps;
  INT_PTR expected;
};

TEST(LanguageDialogTest, EndsWithTheChosenButtonOrCancel) {
  const WayOut cases[] = {
      {"Polish button", {Press(IDC_POLISH)}, IDC_POLISH},
      {"Czech button", {Press(IDC_CZECH)}, IDC_CZECH},
      {"Escape", {Key(VK_ESCAPE)}, IDCANCEL},
      {"cancel command", {Command(IDCANCEL)}, IDCANCEL},
      {"Enter at first chooses the focused Polish button", {Key(VK_RETURN)}, IDC_POLISH},
      {"Enter after hovering Czech", {Hover(IDC_CZECH), Key(VK_RETURN)}, IDC_CZECH},
      {"Enter after hovering Czech, then Polish",
       {Hover(IDC_CZECH), Hover(IDC_POLISH), Key(VK_RETURN)},
       IDC_POLISH},
      {"Tab moves the focus to Czech", {Key(VK_TAB), Key(VK_RETURN)}, IDC_CZECH},
      {"Alt+E, the letter of Czech", {Alt('e')}, IDC_CZECH},
      {"Alt+P, the letter of Polish, after hovering Czech", {Hover(IDC_CZECH), Alt('p')}, IDC_POLISH},
  };
  for (const WayOut& way : cases) {
    SCOPED_TRACE(way.name);
    LanguageDialog dialog;
    DialogScript script(way.steps);
    EXPECT_EQ(dialog.DoModal(), way.expected);
  }
}

TEST(LanguageDialogTest, ButtonsShowTheirPicturesAndTheFocusFollowsThePointer) {
  const std::vector<const char*> polish = {"BM_PLU", "BM_PLD", "BM_PLF"};
  const std::vector<const char*> czech = {"BM_CZU", "BM_CZD", "BM_CZF"};
  LanguageDialog dialog;
  DialogScript script({
      [&](HWND d) {
        EXPECT_EQ(ShownBitmap(GetDlgItem(d, IDC_POLISH), polish), "BM_PLF");
        EXPECT_EQ(ShownBitmap(GetDlgItem(d, IDC_CZECH), czech), "BM_CZU");
        EXPECT_EQ(ButtonNames(d, {IDC_POLISH, IDC_CZECH}),
                  (std::vector<std::wstring>{L"&Polski", L"Č&eština"}));
      },
      Hover(IDC_CZECH),
      [&](HWND d) {
        EXPECT_EQ(ShownBitmap(GetDlgItem(d, IDC_POLISH), polish), "BM_PLU");
        EXPECT_EQ(ShownBitmap(GetDlgItem(d, IDC_CZECH), czech), "BM_CZF");
      },
      Key(VK_ESCAPE),
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

}  // namespace
