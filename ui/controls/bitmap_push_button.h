#pragma once

#include <windows.h>

#include "framework/gdi_object.h"
#include "framework/window.h"

// A push button of a dialog template drawn entirely from four bitmaps, one per visual state (disabled,
// pushed, focused, up), never with the platform's own look. The keyboard focus and the dialog's default
// button follow the mouse pointer, so Enter activates the button under the pointer.
//
// The template buttons are plain push buttons, not owner-drawn ones, and this class paints them itself by
// taking over WM_PAINT. Owner-draw looks like the natural way to draw a button from bitmaps, but it cannot
// work here: the hovered button must become the dialog's default push button, and a button's type is one
// value of its style, push (BS_PUSHBUTTON), default push (BS_DEFPUSHBUTTON) or owner-drawn (BS_OWNERDRAW).
// An owner-drawn button cannot be the default, and making it the default with BM_SETSTYLE turns it into a
// plain push button that the platform draws.
//
// The window text is never shown; it names the button for screen readers, and its "&" marks the letter that
// presses the button with Alt, through the dialog's own keyboard handling (a push button's mnemonic is a
// click: BM_CLICK, which runs the press and release below).
class BitmapPushButton : public Window {
 public:
  BitmapPushButton() = default;
  ~BitmapPushButton() override;

  // Binds this object to the template button `id` of `dialog` (subclasses the button window) and makes
  // `dialog` its owner: hover moves that dialog's focus and default button here. Called once, while the
  // dialog initialises.
  void Bind(HWND dialog, int id);
  // Replaces all four images by the named bitmap resources (an empty name, or a name that is not a bitmap
  // resource, leaves that image empty) and repaints at once.
  void LoadStateBitmaps(const char* up, const char* down, const char* focus, const char* disabled);

  // The image the current state paints (nullptr when that image is empty); for tests and painting.
  HBITMAP CurrentImage() const;

 private:
  static LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc) const;
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam) const;

  void Hover();
  void Press(WPARAM wParam, LPARAM lParam);
  void Release(WPARAM wParam, LPARAM lParam);
  void PaintNow() const;
  LRESULT DefaultOutOfSight(UINT message, WPARAM wParam, LPARAM lParam);
  bool SuspendDrawing();
  void ResumeDrawing(bool suspended);
  bool IsBoundTo(HWND hwnd) const { return hwnd != nullptr && hwnd_ == hwnd && IsWindow(hwnd); }
  void Unbind();

  Bitmap upImage_;
  Bitmap downImage_;
  Bitmap focusImage_;
  Bitmap disabledImage_;
  HWND ownerDialog_ = nullptr;
  WNDPROC defaultProc_ = nullptr;
  bool drawingSuspended_ = false;
};
