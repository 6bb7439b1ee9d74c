#include "ui/dialogs/about_dialog.h"

#include "framework/gdi_object.h"
#include "res/resource.h"

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT) {}

BOOL AboutDialog::OnInitDialog() {
  CenterOverOwner();
  return TRUE;
}

bool AboutDialog::OnMessage(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/, INT_PTR& result) {
  switch (message) {
    case WM_PAINT:
      Paint();
      result = TRUE;
      return true;
    case WM_LBUTTONDOWN:
      EndDialog(IDOK);
      result = TRUE;
      return true;
    default:
      return false;
  }
}

void AboutDialog::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  RECT client;
  GetClientRect(hwnd_, &client);
  // The picture is shown rarely and briefly; it is not worth keeping 600 KB of bitmap for the dialog's life.
  const Bitmap picture = LoadBitmapResource(
      MAKEINTRESOURCEA(language == Language::kPolish ? IDB_CONTACT_POLISH : IDB_CONTACT_CZECH));
  if (picture) {
    // DST_BITMAP copies one to one from the picture's corner; the size only clips, it never stretches.
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(picture.get()), 0, 0, 0,
               client.right - client.left, client.bottom - client.top, DST_BITMAP | DSS_NORMAL);
  }
  EndPaint(hwnd_, &paint);
}
