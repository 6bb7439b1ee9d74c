#include "tests/wine/dialog_driver.h"

#include <vector>

namespace {
DialogDriver* active = nullptr;

bool IsDialogClass(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return std::string(name) == "#32770";
}
}  // namespace

DialogDriver::DialogDriver(Answer answer) : answer_(std::move(answer)) {
  active = this;
  hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

DialogDriver::~DialogDriver() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  if (active == this) active = nullptr;
}

LRESULT CALLBACK DialogDriver::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && active != nullptr) active->OnActivate(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void DialogDriver::OnActivate(HWND window) {
  if (!IsDialogClass(window) || seen_.count(window) != 0) return;
  seen_.insert(window);
  if (IsMessageBox(window)) messages_.push_back({WindowText(window), MessageBoxText(window)});
  if (answer_) answer_(window);
}

std::string DialogDriver::WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(window, buffer.data(), length + 1);
  return buffer.data();
}

bool DialogDriver::IsMessageBox(HWND dialog) { return GetDlgItem(dialog, 0xFFFF) != nullptr; }

std::string DialogDriver::MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text != nullptr ? WindowText(text) : std::string();
}

void DialogDriver::PostClick(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
