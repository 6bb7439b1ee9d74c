#pragma once

#include <windows.h>

#include <string>

class Window;

// The program's single application object: the framework calls its InitInstance once from the entry point.
// It holds the settings file name used by GetProfileValue, the help file path used by the help command and
// the help-quit notice, and the main window that owns every dialog opened without an explicit owner.
class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static Application* Current();

  // Start-up. Returning false ends the program without a message loop. The plain object starts nothing: as
  // such it serves programs that only need its settings reading, help file and main window (tests, the
  // benchmark).
  virtual bool InitInstance() { return false; }
  // Called by the entry point: runs InitInstance, then a message loop only when it asked for one.
  int Run();

  // Reads a value of the settings file (an INI file; section and key names are not case-sensitive). A missing
  // file, section or key gives `defaultValue`. A relative file name is taken from the current directory.
  std::string GetProfileValue(const std::string& section, const std::string& key,
                              const std::string& defaultValue) const;
  void SetProfileName(const std::string& name) { profileName_ = name; }

  void SetHelpFilePath(const std::string& path) { helpFilePath_ = path; }
  const std::string& helpFilePath() const { return helpFilePath_; }

  Window* mainWindow() const { return mainWindow_; }
  void SetMainWindow(Window* window) { mainWindow_ = window; }

  // The framework's help command: opens the help file in the help viewer.
  virtual void OnHelp();

 private:
  std::string profileName_;
  std::string helpFilePath_;
  Window* mainWindow_ = nullptr;
};
