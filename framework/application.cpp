#include "framework/application.h"

#include <windows.h>

#include <vector>

#include "framework/window.h"

namespace {
Application* current = nullptr;
}

Application::Application() { current = this; }

Application::~Application() {
  if (current == this) current = nullptr;
}

Application* Application::Current() { return current; }

int Application::Run() {
  if (!InitInstance()) return 0;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

std::string Application::GetProfileValue(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const {
  // The platform reports a value that did not fit by filling the buffer to size - 1; grow until it fits so
  // that no value is ever cut short.
  std::vector<char> buffer(256);
  for (;;) {
    const DWORD copied =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                 static_cast<DWORD>(buffer.size()), profileName_.c_str());
    if (copied + 1 < buffer.size() || buffer.size() >= (1u << 24)) return std::string(buffer.data(), copied);
    buffer.resize(buffer.size() * 4);
  }
}
