#include "app/startup_settings.h"

#include "app/paths.h"
#include "res/resource.h"

namespace {

std::string ReadResolved(const Application& app, const char* section, const char* key, const char* fallback) {
  std::string path = app.GetProfileValue(section, key, fallback);
  ResolvePath(path);
  return path;
}

}  // namespace

StartupSettings ReadStartupSettings(const Application& app, const std::function<int()>& chooseLanguage) {
  StartupSettings settings;
  // Only the exact text "yes" offers the choice; the fixed language is Polish only for exactly "pl".
  if (app.GetProfileValue("other", "multi_lang", "yes") == "yes") {
    settings.isPolish = chooseLanguage() == IDC_CZECH ? 0 : 1;
    settings.isMultiLanguage = 1;
  } else {
    settings.isPolish = app.GetProfileValue("other", "lang", "pl") == "pl" ? 1 : 0;
    settings.isMultiLanguage = 0;
  }
  settings.helpPathPolish = ReadResolved(app, "files", "help_pl", ".\\tamo_pl.hlp");
  settings.helpPathCzech = ReadResolved(app, "files", "help_vx", ".\\tamo_cz.hlp");
  settings.defaultCopyDirectory = app.GetProfileValue("directories", "def_copy", "c:\\tmp");
  settings.categoryFilePolish = ReadResolved(app, "files", "kat_pl", ".\\kat1.txt");
  settings.categoryFileCzech = ReadResolved(app, "files", "kat_cz", ".\\kat2.txt");
  settings.programListPath = ReadResolved(app, "files", "prog", ".\\prog.txt");
  settings.defaultDescriptionPolish = app.GetProfileValue("files", "def_opis_pl", "opis\\opis1.txt");
  settings.defaultDescriptionCzech = app.GetProfileValue("files", "def_opis_cz", "opis\\opis2.txt");
  return settings;
}
