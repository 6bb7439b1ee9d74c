#include "app/startup_settings.h"

#include "app/paths.h"
#include "disc/settings_keys.h"
#include "res/resource.h"

namespace {

std::string Read(const Application& app, Setting setting) {
  const SettingsKey& key = KeyOf(setting);
  std::string value = app.GetProfileValue(key.section, key.key, key.fallback);
  if (key.isDiscPath) ResolvePath(value);
  return value;
}

}  // namespace

StartupSettings ReadStartupSettings(const Application& app, const std::function<int()>& chooseLanguage) {
  StartupSettings settings;
  // Only the exact text "yes" offers the choice; the fixed language is Polish only for exactly "pl".
  if (Read(app, Setting::kMultiLanguage) == "yes") {
    settings.isPolish = chooseLanguage() == IDC_CZECH ? 0 : 1;
    settings.isMultiLanguage = 1;
  } else {
    settings.isPolish = Read(app, Setting::kLanguage) == "pl" ? 1 : 0;
    settings.isMultiLanguage = 0;
  }
  settings.helpPathPolish = Read(app, Setting::kHelpPolish);
  settings.helpPathCzech = Read(app, Setting::kHelpCzech);
  settings.defaultCopyDirectory = Read(app, Setting::kDefaultCopy);
  settings.categoryFilePolish = Read(app, Setting::kCategoryFilePolish);
  settings.categoryFileCzech = Read(app, Setting::kCategoryFileCzech);
  settings.programListPath = Read(app, Setting::kProgramList);
  settings.defaultDescriptionPolish = Read(app, Setting::kDescriptionPolish);
  settings.defaultDescriptionCzech = Read(app, Setting::kDescriptionCzech);
  return settings;
}
