#include "ui/dialogs/exit_confirm_dialog.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/wine/dialog_script.h"

using namespace script;

namespace {

constexpr int kYes = IDOK;
constexpr int kNo = IDCANCEL;

TEST(ExitConfirmDialogTest, YesOnTheRightLeavesNoAndEscapeStay) {
  const struct {
    const char* name;
    std::vector<DialogScript::Step> steps;
    INT_PTR expected;
  } cases[] = {
      {"yes button", {Press(kYes)}, IDOK},
      {"no button", {Press(kNo)}, IDCANCEL},
      {"Escape", {Key(VK_ESCAPE)}, IDCANCEL},
      {"Enter after hovering yes", {Hover(kYes), Key(VK_RETURN)}, IDOK},
      {"Enter after hovering no", {Hover(kNo), Key(VK_RETURN)}, IDCANCEL},
      {"Enter after hovering yes, then no", {Hover(kYes), Hover(kNo), Key(VK_RETURN)}, IDCANCEL},
      {"Alt+N, the letter of no in both languages, while yes has the focus", {Alt('n')}, IDCANCEL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (Language language : kLanguages) {
      SCOPED_TRACE(LanguageName(language));
      ExitConfirmDialog dialog;
      dialog.language = language;
      DialogScript script(c.steps);
      EXPECT_EQ(dialog.DoModal(), c.expected);
    }
  }
}

TEST(ExitConfirmDialogTest, QuestionAndButtonsShowTheLanguageOverTheBackground) {
  const struct {
    Language language;
    const char* yesFocused;
    const char* noUp;
    const char* question;
    SIZE questionSize;
    std::vector<std::wstring> names;  // yes, no
  } cases[] = {
      {Language::kPolish, "BM_TAKPF", "BM_NIEPU", "BM_TEXT_P", {344, 32}, {L"&Tak", L"&Nie"}},
      {Language::kCzech, "BM_TAKCF", "BM_NIECU", "BM_TEXT_C", {338, 29}, {L"&Ano", L"&Ne"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(LanguageName(c.language));
    ExitConfirmDialog dialog;
    dialog.language = c.language;
    DialogScript script({
        [&](HWND d) {
          // The first tab stop, yes, holds the focus when the dialog opens.
          EXPECT_EQ(ShownBitmap(GetDlgItem(d, kYes), {"BM_TAKPF", "BM_TAKCF", "BM_TAKPU", "BM_TAKCU"}),
                    c.yesFocused);
          EXPECT_EQ(ShownBitmap(GetDlgItem(d, kNo), {"BM_NIEPU", "BM_NIECU", "BM_NIEPF", "BM_NIECF"}),
                    c.noUp);
          HWND question = GetDlgItem(d, IDC_QUESTION);
          EXPECT_EQ(ShownBitmap(question, {"BM_TEXT_P", "BM_TEXT_C"}), c.question);
          BITMAP shown = {};
          GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(question, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                     sizeof shown, &shown);
          EXPECT_EQ(shown.bmWidth, c.questionSize.cx);
          EXPECT_EQ(shown.bmHeight, c.questionSize.cy);
          EXPECT_EQ(ButtonNames(d, {kYes, kNo}), c.names);
        },
        Key(VK_ESCAPE),
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  }
}

}  // namespace
