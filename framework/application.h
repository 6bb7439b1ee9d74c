#pragma once

#include <windows.h>

#include <string>

class Window;

// The program's single application object: the framework calls its InitInstance once from the entry point.
// It holds the settings file name used by GetProfileValue and the main window that owns every dialog opened
// without an explicit owner.
class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static Application* Current();

  // Start-up. Returning false ends the program without a message loop. The plain object starts nothing: as
  // such it serves programs that only need its settings reading and main window (tests, the
  // benchmark).
  virtual bool InitInstance() { return false; }
  // Called by the entry point: runs InitInstance, then a message loop only when it asked for one.
  int Run();

  // Reads a value of the settings file (an INI file; section and key names are not case-sensitive). A missing
  // file, section or key gives `defaultValue`. A relative file name is taken from the current directory.
  std::string GetProfileValue(const std::string& section, const std::string& key,
                              const std::string& defaultValue) const;
  void SetProfileName(const std::string& name) { profileName_ = name; }

  Window* mainWindow() const { return mainWindow_; }
  void SetMainWindow(Window* window) { mainWindow_ = window; }

 private:
  std::string profileName_;
  Window* mainWindow_ = nullptr;
};
