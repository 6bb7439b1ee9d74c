#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "framework/window.h"

// A dialog bound to a dialog template of this program, run modally by a loop of our own: it ends when the
// dialog calls EndDialog or when its window is destroyed (the main window's leave command destroys it from
// inside a button click). Escape gives IDCANCEL and Enter the default push button's command, as in any
// dialog.
//
// Every dialog is laid out in the pixel grid its pictures are drawn for: its template's dialog units taken at
// the classic 6 by 13 pixel base units, whatever font the system gives the dialog (see dialog_layout.h).
//
// Pictures that the template's picture controls load themselves are the window's: it takes each one back and
// frees it when the window is destroyed, however the run ends. A dialog that replaces such a picture takes it
// over with the replacement's return value and frees it; a picture a dialog sets stays its own.
//
// Derived classes bind their controls in OnInitDialog and route commands through a table of their own, kept
// in one place per class (see CommandRoute). No C++ exception leaves a window procedure.
class Dialog : public Window {
 public:
  // The owner is disabled while the dialog runs. Without an explicit owner the dialog is owned by the
  // application's main window, when there is one and it is not this dialog.
  explicit Dialog(int templateId, HWND owner = nullptr);
  ~Dialog() override;

  // Creates the window, runs it to its end and destroys it. Returns the value given to EndDialog, or -1 when
  // the window could not be created or the run ended without EndDialog: the window destroyed, or a quit
  // request, which ends the run and is left for the loop beneath. However the run ends, the owner is enabled
  // and active again.
  INT_PTR DoModal();
  void EndDialog(INT_PTR result);
  bool IsRunning() const { return hwnd_ != nullptr && !ended_; }

  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

  // Places the dialog centred over its owner, kept inside the screen's work area. (The template's centre
  // style centres on the screen.)
  void CenterOverOwner() const;

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // Returns true when the command was handled.
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  // Any other message. Returns true when handled, with the dialog procedure's result in `result`.
  virtual bool OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, INT_PTR& /*result*/) {
    return false;
  }

  // One row of a class's command table: control id, notification code, handler.
  template <class Derived>
  struct CommandRoute {
    int id;
    int code;
    void (Derived::*handler)();
  };
  template <class Derived, std::size_t N>
  static bool Route(Derived* self, const CommandRoute<Derived> (&table)[N], int id, int code) {
    for (const CommandRoute<Derived>& route : table) {
      if (route.id == id && route.code == code) {
        (self->*route.handler)();
        return true;
      }
    }
    return false;
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  HWND ChooseOwner() const;
  void AdoptTemplatePictures();
  void FreeTemplatePictures();

  int templateId_;
  HWND owner_;
  bool ended_ = false;
  INT_PTR result_ = -1;

  // A picture control of the template and the bitmap it loaded for itself, seen before OnInitDialog.
  struct TemplatePicture {
    HWND control;
    HANDLE picture;
  };
  std::vector<TemplatePicture> templatePictures_;
};
