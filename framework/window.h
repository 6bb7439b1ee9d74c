#pragma once

#include <windows.h>

#include <string>

// Thin wrappers over the standard controls: a dialog binds each control to a typed member once, at
// initialisation, and then talks to it through these instead of raw SendMessage calls.
class Window {
 public:
  Window() = default;
  explicit Window(HWND hwnd) : hwnd_(hwnd) {}
  virtual ~Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  void Attach(HWND hwnd) { hwnd_ = hwnd; }

  void SetText(const std::string& text) const { SetWindowTextA(hwnd_, text.c_str()); }
  std::string GetText() const;
  void Enable(bool enable) const { EnableWindow(hwnd_, enable ? TRUE : FALSE); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(hwnd_, message, wParam, lParam);
  }
  // Paints the whole window (and its children) now rather than at the next idle moment.
  void RedrawNow() const {
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }

 protected:
  HWND hwnd_ = nullptr;
};

class ListBox : public Window {
 public:
  void ResetContent() const { Send(LB_RESETCONTENT); }
  int AddString(const std::string& text) const {
    return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }
  int InsertString(int row, const std::string& text) const {
    return static_cast<int>(
        Send(LB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.c_str())));
  }
  void SetItemData(int row, LPARAM value) const { Send(LB_SETITEMDATA, static_cast<WPARAM>(row), value); }
  LPARAM GetItemData(int row) const {
    return static_cast<LPARAM>(Send(LB_GETITEMDATA, static_cast<WPARAM>(row)));
  }
  int GetCurSel() const { return static_cast<int>(Send(LB_GETCURSEL)); }
};
