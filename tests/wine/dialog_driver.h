#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

// Drives modal windows from inside a test: while a DialogDriver exists, every dialog-class window (our
// dialogs and the platform's message boxes) that this thread activates is handed once to `answer`, which may
// read it and post the command that ends it. Message boxes are recorded (text and caption) before `answer`
// runs.
class DialogDriver {
 public:
  using Answer = std::function<void(HWND dialog)>;
  explicit DialogDriver(Answer answer = nullptr);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  struct Message {
    std::string caption;
    std::string text;
  };
  const std::vector<Message>& messages() const { return messages_; }

  // True for the platform's message box (a dialog with a static text and no template of ours).
  static bool IsMessageBox(HWND dialog);
  static std::string MessageBoxText(HWND box);
  static std::string WindowText(HWND window);
  // Posts a click of button `id` to `dialog` (as the button would send it).
  static void PostClick(HWND dialog, int id);

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
  void OnActivate(HWND window);

  Answer answer_;
  HHOOK hook_ = nullptr;
  std::set<HWND> seen_;
  std::vector<Message> messages_;
};

// Answers every message box with OK and every other dialog with `answer` (default: leave it alone).
inline DialogDriver::Answer OkToMessageBoxes(DialogDriver::Answer other = nullptr) {
  return [other](HWND dialog) {
    if (DialogDriver::IsMessageBox(dialog)) {
      DialogDriver::PostClick(dialog, IDOK);
    } else if (other) {
      other(dialog);
    }
  };
}
