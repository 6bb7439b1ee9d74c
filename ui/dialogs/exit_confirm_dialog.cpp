#include "ui/dialogs/exit_confirm_dialog.h"

#include "res/resource.h"

ExitConfirmDialog::ExitConfirmDialog() : Dialog(IDD_EXIT_CONFIRM) {}

BOOL ExitConfirmDialog::OnInitDialog() {
  questionPicture_.Attach(Item(IDC_QUESTION));
  yesButton_.Bind(hwnd_, IDOK);
  noButton_.Bind(hwnd_, IDCANCEL);

  // The template's button texts name the opposite pictures; only the images loaded here count, and the texts
  // set here: the words of the pictures, for screen readers, with "&" before the letter Alt presses.
  const char* question = nullptr;
  if (language == Language::kPolish) {
    yesButton_.SetText("&Tak");
    noButton_.SetText("&Nie");
    yesButton_.LoadStateBitmaps("BM_TAKPU", "BM_TAKPD", "BM_TAKPF", "");
    noButton_.LoadStateBitmaps("BM_NIEPU", "BM_NIEPD", "BM_NIEPF", "");
    question = "BM_TEXT_P";
  } else {
    yesButton_.SetText("&Ano");
    noButton_.SetText("&Ne");
    yesButton_.LoadStateBitmaps("BM_TAKCU", "BM_TAKCD", "BM_TAKCF", "");
    noButton_.LoadStateBitmaps("BM_NIECU", "BM_NIECD", "BM_NIECF", "");
    question = "BM_TEXT_C";
  }
  questionImage_ = LoadBitmapResource(question);
  // The picture the control loaded from its template is ours to release once replaced: the window frees only
  // the template pictures that their controls still show.
  const HBITMAP templatePicture = reinterpret_cast<HBITMAP>(
      questionPicture_.Send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(questionImage_.get())));
  if (templatePicture != nullptr && templatePicture != questionImage_.get()) DeleteObject(templatePicture);
  return TRUE;
}
