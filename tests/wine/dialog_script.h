#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/gdi_object.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/test_support.h"

// Plays a test's steps against the modal dialogs it opens: one step per tick of a thread timer, which the
// dialogs' own message loop dispatches only once nothing else is pending, so every step sees the windows
// painted as the user would. A step receives the innermost dialog still open. When a step fails fatally, or
// the steps are over and a dialog stays open, every open dialog is destroyed: a broken test ends instead of
// hanging.
class DialogScript {
 public:
  using Step = std::function<void(HWND dialog)>;

  explicit DialogScript(std::vector<Step> steps)
      : steps_(std::move(steps)), driver_([this](HWND dialog) { open_.push_back(dialog); }) {
    current() = this;
    timer_ = SetTimer(nullptr, 0, 20, &DialogScript::Tick);
  }
  ~DialogScript() {
    KillTimer(nullptr, timer_);
    current() = nullptr;
    EXPECT_EQ(next_, steps_.size()) << "the dialog ended before the script did";
  }
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

 private:
  static DialogScript*& current() {
    static DialogScript* script = nullptr;
    return script;
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript* self = current();
    if (self != nullptr) self->Advance();
  }

  void Advance() {
    open_.erase(std::remove_if(open_.begin(), open_.end(), [](HWND dialog) { return !IsWindow(dialog); }),
                open_.end());
    if (open_.empty()) return;
    if (next_ < steps_.size()) {
      // Copied and counted first: a step may run a nested modal loop, in which the following steps play.
      const Step step = steps_[next_++];
      step(open_.back());
      if (::testing::Test::HasFatalFailure()) CloseAll();
    } else if (++idleTicks_ > 150) {
      ADD_FAILURE() << "a dialog is still open after the last step";
      CloseAll();
    }
  }

  void CloseAll() {
    for (auto dialog = open_.rbegin(); dialog != open_.rend(); ++dialog) DestroyWindow(*dialog);
    open_.clear();
  }

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int idleTicks_ = 0;
  std::vector<HWND> open_;
  DialogDriver driver_;
  UINT_PTR timer_ = 0;
};

// Steps that act as the user would.
namespace script {

// A click on the button: its own press and release handling runs, as with the mouse.
inline DialogScript::Step Press(int id) {
  return [id](HWND dialog) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); };
}
// The command a control sends (for the cancel command, what the system menu or Escape would give).
inline DialogScript::Step Command(int id) {
  return [id](HWND dialog) { DialogDriver::PostClick(dialog, id); };
}
// A key pressed while the focus is where the dialog put it.
inline DialogScript::Step Key(UINT key) {
  return [key](HWND dialog) {
    HWND focus = GetFocus();
    PostMessageA(focus != nullptr ? focus : dialog, WM_KEYDOWN, key, 1);
  };
}
// Alt held with `letter` pressed, where the focus is.
inline DialogScript::Step Alt(char letter) {
  return [letter](HWND dialog) {
    HWND focus = GetFocus();
    PostMessageA(focus != nullptr ? focus : dialog, WM_SYSCHAR, static_cast<WPARAM>(letter), 0x20000001);
  };
}
// The pointer passing over the control.
inline DialogScript::Step Hover(int id) {
  return [id](HWND dialog) { SendMessageA(GetDlgItem(dialog, id), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); };
}

// A double-click on the list row `row` of list box `listId` (found by its text), as the list box notifies it;
// with `mouse`, as real button messages at the row, so the list box itself must turn them into the
// notification.
inline DialogScript::Step DoubleClickRow(int listId, std::string row, bool mouse = false) {
  return [listId, row, mouse](HWND dialog) {
    HWND list = GetDlgItem(dialog, listId);
    const LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(row.c_str()));
    ASSERT_NE(index, LB_ERR) << "no row " << row;
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (!mouse) {
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
      return;
    }
    RECT item = {};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 3, item.top + 2);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
      PostMessageA(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    }
  };
}

}  // namespace script

// The rows of a list box, top to bottom.
inline std::vector<std::string> ListRows(HWND list) {
  std::vector<std::string> rows;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[512] = {};
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    rows.push_back(text);
  }
  return rows;
}

// The texts of the buttons `ids`, as a screen reader reads them: in Unicode, from the program's code page.
inline std::vector<std::wstring> ButtonNames(HWND dialog, const std::vector<int>& ids) {
  std::vector<std::wstring> names;
  for (int id : ids) {
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, id, text, 64);
    names.push_back(text);
  }
  return names;
}

// The name by which the bitmap resource numbered `id` is loaded ("#" and the number).
inline std::string NumberedResource(int id) { return "#" + std::to_string(id); }

// Which of the candidate bitmaps the window shows: the best match if nearly every sample agrees, else "none".
inline std::string ShownBitmap(HWND window, const std::vector<const char*>& candidates) {
  std::string best = "none";
  double bestShare = 0.97;
  for (const char* name : candidates) {
    // Every third pixel, less a margin of three: neighbouring controls may overlap by a row.
    const testing_support::PictureMatch match = testing_support::MatchPicture(window, name, 3, 3);
    const double share = match.compared == 0 ? 0 : static_cast<double>(match.equal) / match.compared;
    if (share > bestShare) {
      best = name;
      bestShare = share;
    }
  }
  return best;
}
