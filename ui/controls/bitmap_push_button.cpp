#include "ui/controls/bitmap_push_button.h"

#include <algorithm>

namespace {

// The bound object is found from the button window through this property while the button is subclassed.
constexpr char kButtonProperty[] = "TamoBitmapPushButton";

}  // namespace

BitmapPushButton::~BitmapPushButton() {
  // The dialog object may go before its window (a dialog destroyed without running to its end); the window
  // must then stop calling into this object.
  Unbind();
}

void BitmapPushButton::Bind(HWND dialog, int id) {
  const HWND button = GetDlgItem(dialog, id);
  if (IsBoundTo(button)) return;
  Unbind();
  if (button == nullptr) return;
  if (auto* previous = static_cast<BitmapPushButton*>(GetPropA(button, kButtonProperty))) {
    // Already bound to another object: take it over rather than subclass twice, which would have the
    // procedure call itself for ever.
    defaultProc_ = previous->defaultProc_;
    previous->hwnd_ = nullptr;
    previous->ownerDialog_ = nullptr;
    SetPropA(button, kButtonProperty, this);
  } else {
    SetPropA(button, kButtonProperty, this);
    defaultProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BitmapPushButton::ButtonProc)));
  }
  hwnd_ = button;
  ownerDialog_ = dialog;
  // Whatever the platform painted before the subclass is replaced at the next paint.
  InvalidateRect(button, nullptr, TRUE);
}

void BitmapPushButton::Unbind() {
  if (hwnd_ != nullptr && IsWindow(hwnd_) && GetPropA(hwnd_, kButtonProperty) == this) {
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProc_));
    RemovePropA(hwnd_, kButtonProperty);
  }
  hwnd_ = nullptr;
  ownerDialog_ = nullptr;
  drawingSuspended_ = false;
}

void BitmapPushButton::LoadStateBitmaps(const char* up, const char* down, const char* focus,
                                        const char* disabled) {
  // Each old bitmap goes before its successor is loaded, so a reload never holds two sets at once.
  struct Slot {
    Bitmap& image;
    const char* name;
  };
  const Slot slots[] = {{upImage_, up}, {downImage_, down}, {focusImage_, focus}, {disabledImage_, disabled}};
  for (const Slot& slot : slots) {
    slot.image.Reset();
    slot.image = LoadBitmapResource(slot.name);
  }
  // Without a window RedrawWindow would repaint the whole desktop.
  if (IsBoundTo(hwnd_)) RedrawNow();
}

HBITMAP BitmapPushButton::CurrentImage() const {
  const bool enabled = hwnd_ != nullptr && IsWindowEnabled(hwnd_);
  const LRESULT state = hwnd_ != nullptr ? SendMessageA(hwnd_, BM_GETSTATE, 0, 0) : 0;
  // The look of each state; the first row that matches wins.
  struct Row {
    bool (*matches)(bool enabled, LRESULT state);
    const Bitmap BitmapPushButton::*image;
  };
  static const Row kLooks[] = {
      {[](bool isEnabled, LRESULT) { return !isEnabled; }, &BitmapPushButton::disabledImage_},
      {[](bool, LRESULT buttonState) { return (buttonState & BST_PUSHED) != 0; },
       &BitmapPushButton::downImage_},
      {[](bool, LRESULT buttonState) { return (buttonState & BST_FOCUS) != 0; },
       &BitmapPushButton::focusImage_},
      {[](bool, LRESULT) { return true; }, &BitmapPushButton::upImage_},
  };
  for (const Row& row : kLooks) {
    if (row.matches(enabled, state)) return (this->*row.image).get();
  }
  return nullptr;
}

void BitmapPushButton::Paint(HDC dc) const {
  RECT client;
  GetClientRect(hwnd_, &client);
  const HBITMAP image = CurrentImage();
  BITMAP size;
  if (image == nullptr || GetObjectA(image, sizeof size, &size) == 0) return;
  // One to one from the picture's top-left corner over the whole client area, never stretched: the buttons
  // are a pixel or two larger than their pictures, and the strip beyond the picture's edge is drawn too
  // rather than left showing whatever lay beneath.
  DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image), 0, 0, 0, client.right - client.left,
             client.bottom - client.top, DST_BITMAP | DSS_NORMAL);
}

void BitmapPushButton::PaintNow() const {
  const HDC dc = GetDC(hwnd_);
  if (dc == nullptr) return;
  Paint(dc);
  ReleaseDC(hwnd_, dc);
}

LRESULT BitmapPushButton::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) const {
  return CallWindowProcA(defaultProc_, hwnd_, message, wParam, lParam);
}

bool BitmapPushButton::SuspendDrawing() {
  // Suspending clears the window's visible style and resuming sets it, so a hidden button is left alone.
  if (drawingSuspended_ || (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) == 0) return false;
  Send(WM_SETREDRAW, FALSE);
  drawingSuspended_ = true;
  return true;
}

void BitmapPushButton::ResumeDrawing(bool suspended) {
  if (!suspended) return;
  drawingSuspended_ = false;
  Send(WM_SETREDRAW, TRUE);
}

LRESULT BitmapPushButton::DefaultOutOfSight(UINT message, WPARAM wParam, LPARAM lParam) {
  // The platform's button paints its own face and focus rectangle straight onto the screen for these
  // messages, not through WM_PAINT; it gets them with drawing suspended and the bitmap of the new state is
  // shown after.
  const HWND self = hwnd_;
  const bool suspended = SuspendDrawing();
  const LRESULT result = CallDefault(message, wParam, lParam);
  if (!IsBoundTo(self)) return result;
  ResumeDrawing(suspended);
  if (suspended) RedrawNow();
  return result;
}

void BitmapPushButton::Hover() {
  const HWND self = hwnd_;
  SendMessageA(ownerDialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(self), TRUE);
  if (!IsBoundTo(self)) return;
  Send(BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
}

void BitmapPushButton::Press(WPARAM wParam, LPARAM lParam) {
  const HWND self = hwnd_;
  Send(BM_SETSTATE, TRUE);
  RedrawNow();
  const bool suspended = SuspendDrawing();
  // Passed on as a plain press even when it is the second click of a double-click, so the button never
  // reports a double-click and both clicks count.
  CallDefault(WM_LBUTTONDOWN, wParam, lParam);
  if (!IsBoundTo(self)) return;
  PaintNow();
  ResumeDrawing(suspended);
}

void BitmapPushButton::Release(WPARAM wParam, LPARAM lParam) {
  const HWND self = hwnd_;
  // The button holds the capture from its own press until this release. A release without that press (the
  // mouse went down elsewhere) must neither click nor leave the button looking pushed.
  const bool pressedHere = GetCapture() == self;
  Send(BM_SETSTATE, FALSE);
  RedrawNow();
  const bool suspended = SuspendDrawing();
  if (pressedHere) Send(BM_SETSTATE, TRUE);
  // The click is reported from in here; its handler may end the dialog, run another one, or destroy the
  // window.
  CallDefault(WM_LBUTTONUP, wParam, lParam);
  if (!IsBoundTo(self)) return;
  PaintNow();
  ResumeDrawing(suspended);
  // The direct paint above lands nowhere while drawing is suspended, and a dialog run by the click may have
  // painted over the button meanwhile.
  if (suspended) RedrawNow();
}

LRESULT BitmapPushButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(hwnd_, &paint);
      Paint(dc);
      EndPaint(hwnd_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      // Not passed on: a press dragged off the button keeps its pushed look.
      Hover();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Press(wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      Release(wParam, lParam);
      return 0;
    case WM_ENABLE:
      RedrawNow();
      return 0;
    case WM_KEYDOWN:
      return 0;
    case WM_KEYUP:
    case WM_CHAR:
      // The platform's button clicks on the space bar's release (even after a mouse press), not on its press.
      if (wParam == VK_SPACE) return 0;
      break;
    case BM_SETSTATE:
    case BM_SETCHECK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SETTEXT:
    // Where the keyboard cues change (Alt pressed), the platform's button repaints its face with the text's
    // underlined letter; Wine's keeps the cues as they are, other versions of the platform do not.
    case WM_UPDATEUISTATE:
      if (!drawingSuspended_) return DefaultOutOfSight(message, wParam, lParam);
      break;
    default:
      break;
  }
  return CallDefault(message, wParam, lParam);
}

LRESULT CALLBACK BitmapPushButton::ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<BitmapPushButton*>(GetPropA(hwnd, kButtonProperty));
  if (self == nullptr) {
    const auto classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd, GCLP_WNDPROC));
    return CallWindowProcA(classProc, hwnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    const WNDPROC previous = self->defaultProc_;
    self->Unbind();
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the system's code; the message counts as handled.
    return 0;
  }
}
