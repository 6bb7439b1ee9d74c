#pragma once

#include <string>

#include "disc/language.h"

// Where the catalogue comes from: each language's category file, the program list, and each language's
// description file name used for a program that names none (relative to the program's directory). The paths
// on the disc are absolute once start-up has resolved them.
struct CatalogSources {
  PerLanguage<std::string> categoryFile;
  std::string programList;
  PerLanguage<std::string> defaultDescription;
};

// Everything the browser starts with, read once from the settings file: the language chosen and the values a
// language switch later chooses between.
struct StartupSettings {
  Language language = Language::kPolish;
  // The settings let the user choose the language: the language button works.
  bool multiLanguage = true;
  PerLanguage<std::string> helpFile;
  std::string defaultCopyDirectory;
  CatalogSources catalog;
};
