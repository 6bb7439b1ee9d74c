#pragma once

#include <functional>
#include <string>

#include "disc/settings_keys.h"
#include "framework/application.h"

// Everything start-up reads from the settings file, read once and handed to the main window; a language
// switch later only chooses between the values held here.
struct StartupSettings {
  int isPolish = 1;
  int isMultiLanguage = 1;
  std::string helpPathPolish;
  std::string helpPathCzech;
  std::string defaultCopyDirectory;
  std::string categoryFilePolish;
  std::string categoryFileCzech;
  std::string programListPath;
  std::string defaultDescriptionPolish;
  std::string defaultDescriptionCzech;
};

// The settings file, in the directory the program is started from (the disc root).
inline const std::string kSettingsFile = std::string(".\\") + kSettingsFileName;

// Reads the settings through `app` (whose settings file is already set) in start-up's order: the language
// (asking `chooseLanguage`, which returns the language chooser's result, when the settings allow a choice),
// the help files, the default copy directory, the catalogue files and the default description names. Paths of
// files on the disc are made absolute against the current directory.
StartupSettings ReadStartupSettings(const Application& app, const std::function<int()>& chooseLanguage);
