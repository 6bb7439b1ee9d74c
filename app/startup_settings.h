#pragma once

#include <functional>
#include <string>

#include "disc/disc_settings.h"
#include "disc/settings_keys.h"
#include "framework/application.h"

// The settings file, in the directory the program is started from (the disc root).
inline const std::string kSettingsFile = std::string(".\\") + kSettingsFileName;

// Reads the settings through `app` (whose settings file is already set) in start-up's order: the language
// (asking `chooseLanguage`, which returns the language chooser's result, when the settings allow a choice),
// the help files, the default copy directory, the catalogue files and the default description names. Paths of
// files on the disc are made absolute against the current directory.
StartupSettings ReadStartupSettings(const Application& app, const std::function<int()>& chooseLanguage);
