#include "ui/dialogs/language_dialog.h"

#include "res/resource.h"

LanguageDialog::LanguageDialog() : Dialog(IDD_LANGUAGE) {}

BOOL LanguageDialog::OnInitDialog() {
  polishButton_.Bind(hwnd_, IDC_POLISH);
  czechButton_.Bind(hwnd_, IDC_CZECH);
  // The words of the pictures, in code page 1250, for screen readers; "&" marks the letter Alt presses.
  polishButton_.SetText("&Polski");
  czechButton_.SetText("\xC8&e\x9Atina");  // Čeština
  polishButton_.LoadStateBitmaps("BM_PLU", "BM_PLD", "BM_PLF", "");
  czechButton_.LoadStateBitmaps("BM_CZU", "BM_CZD", "BM_CZF", "");
  // The dialog manager then focuses the first tab stop, the Polish button, so a bare Enter chooses Polish.
  return TRUE;
}

bool LanguageDialog::OnCommand(int id, int code, HWND /*control*/) {
  static const CommandRoute<LanguageDialog> kRoutes[] = {
      {IDC_POLISH, BN_CLICKED, &LanguageDialog::OnPolish},
      {IDC_CZECH, BN_CLICKED, &LanguageDialog::OnCzech},
  };
  return Route(this, kRoutes, id, code);
}

void LanguageDialog::OnPolish() { EndDialog(IDC_POLISH); }

void LanguageDialog::OnCzech() { EndDialog(IDC_CZECH); }
