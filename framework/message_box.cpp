#include "framework/message_box.h"

#include "framework/wait_cursor.h"

std::string ApplicationName() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, length);
  const std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

void ShowMessage(HWND owner, const std::string& text) {
  const WaitCursor::Pause asking;
  MessageBoxA(owner, text.c_str(), ApplicationName().c_str(), MB_OK);
}
