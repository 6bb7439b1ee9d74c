#include <windows.h>

#include "framework/application.h"

// The program's entry point: the single static application object has registered itself by now.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application* app = Application::Current();
  return app != nullptr ? app->Run() : 1;
}
