#include "framework/window.h"

#include "framework/gdi_object.h"

#include <vector>

std::string Window::GetText() const {
  const int length = GetWindowTextLengthA(hwnd_);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(hwnd_, buffer.data(), length + 1);
  return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

Bitmap LoadBitmapResource(const char* name) {
  if (name == nullptr || (!IS_INTRESOURCE(name) && name[0] == '\0')) return Bitmap();
  return Bitmap(LoadBitmapA(GetModuleHandleA(nullptr), name));
}
