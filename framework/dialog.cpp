#include "framework/dialog.h"

#include "framework/application.h"
#include "framework/dialog_layout.h"

// The framework's help command, routed to the application when a dialog leaves it unhandled.

Dialog::Dialog(int templateId, HWND owner) : templateId_(templateId), owner_(owner) {}

Dialog::~Dialog() {
  if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

HWND Dialog::ChooseOwner() const {
  if (owner_ != nullptr) return owner_;
  Application* app = Application::Current();
  if (app == nullptr || app->mainWindow() == nullptr || app->mainWindow() == this) return nullptr;
  return app->mainWindow()->hwnd();
}

INT_PTR Dialog::DoModal() {
  const HWND owner = ChooseOwner();
  ended_ = false;
  result_ = -1;
  HWND created = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                                    DialogProc, reinterpret_cast<LPARAM>(this));
  if (created == nullptr) return -1;
  // The owner is disabled only once the dialog exists: a dialog that cannot be created must not leave its
  // owner dead. Re-enabling it before the destruction below hands the activation back to it.
  const bool disabledOwner = owner != nullptr && IsWindowEnabled(owner);
  if (disabledOwner) EnableWindow(owner, FALSE);
  if (!ended_ && IsWindow(created) && !IsWindowVisible(created)) ShowWindow(created, SW_SHOW);

  MSG msg;
  while (!ended_ && IsWindow(created)) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // Leave the quit request for the outer loops too.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    if (!IsDialogMessageA(created, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  if (disabledOwner) EnableWindow(owner, TRUE);
  if (IsWindow(created)) {
    DestroyWindow(created);
  } else if (disabledOwner && IsWindow(owner) && GetActiveWindow() == nullptr) {
    // Destroyed from outside, the dialog handed the activation on while its owner was still disabled, so it
    // went nowhere: give it to the owner, which puts the focus back where it was.
    SetActiveWindow(owner);
  }
  hwnd_ = nullptr;
  return result_;
}

void Dialog::CenterOverOwner() const {
  const HWND owner = GetWindow(hwnd_, GW_OWNER);
  if (owner == nullptr) return;
  RECT ownerRect;
  RECT rect;
  RECT work;
  GetWindowRect(owner, &ownerRect);
  GetWindowRect(hwnd_, &rect);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const LONG width = rect.right - rect.left;
  const LONG height = rect.bottom - rect.top;
  LONG x = (ownerRect.left + ownerRect.right - width) / 2;
  LONG y = (ownerRect.top + ownerRect.bottom - height) / 2;
  if (x + width > work.right) x = work.right - width;
  if (y + height > work.bottom) y = work.bottom - height;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  if (self == nullptr) return FALSE;
  INT_PTR result = FALSE;
  try {
    if (message == WM_INITDIALOG) self->AdoptTemplatePictures();
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // An exception must never unwind through the system's code; the dialog ends instead of going on in an
    // unknown state.
    self->EndDialog(IDABORT);
  }
  // The parent hears of its destruction before its children do: the picture controls still answer here.
  if (message == WM_DESTROY) self->FreeTemplatePictures();
  if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, DWLP_USER, 0);
  return result;
}

// Every child at this point comes from the template, and a picture it shows is one it loaded by the name the
// template gave. Wine's static control never frees such a picture, and the platform's own rules have differed
// by version, so the window takes them over. Only bitmaps: the templates name no other kind, and an icon that
// a control loads may be a shared one, which must never be destroyed.
void Dialog::AdoptTemplatePictures() {
  templatePictures_.clear();
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0) continue;
    if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) continue;
    const HANDLE picture = reinterpret_cast<HANDLE>(SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (picture != nullptr) templatePictures_.push_back({child, picture});
  }
}

// Only a picture that its control still shows is freed: one that a dialog replaced went to that dialog with
// the replacement. Taken back first, it is neither drawn nor freed again by the control, on any version of
// the platform, and it is selected into no device context between paints.
void Dialog::FreeTemplatePictures() {
  for (const TemplatePicture& entry : templatePictures_) {
    if (!IsWindow(entry.control)) continue;
    const HANDLE shown = reinterpret_cast<HANDLE>(SendMessageA(entry.control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (shown != entry.picture) continue;
    SendMessageA(entry.control, STM_SETIMAGE, IMAGE_BITMAP, 0);
    DeleteObject(entry.picture);
  }
  templatePictures_.clear();
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // Before the derived initialisation, which then sees the final size (to centre the window, say).
    LayOutAtBaseUnits(hwnd_, GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_));
    return OnInitDialog();
  }
  INT_PTR result = FALSE;
  if (OnMessage(message, wParam, lParam, result)) return result;
  // A list box that wants the keyboard asks its dialog what a key or a letter does; a dialog procedure
  // answers directly, and its FALSE would read as "row 0", sending every arrow and typed letter to the first
  // row. -1 is the list's own handling, as any window gives it.
  if (message == WM_VKEYTOITEM || message == WM_CHARTOITEM) return -1;
  if (message == WM_COMMAND) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (OnCommand(id, code, reinterpret_cast<HWND>(lParam))) return TRUE;
    // Buttons, Enter and Escape arrive with BN_CLICKED (0); menu and accelerator commands with 0 or 1.
    if (code == BN_CLICKED || code == 1) {
      if (id == IDOK) {
        OnOK();
        return TRUE;
      }
      if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
      }
    }
  }
  return FALSE;
}
