#include "app/startup_settings.h"

#include "platform/paths.h"
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
    settings.language = chooseLanguage() == IDC_CZECH ? Language::kCzech : Language::kPolish;
    settings.multiLanguage = true;
  } else {
    settings.language = Read(app, Setting::kLanguage) == "pl" ? Language::kPolish : Language::kCzech;
    settings.multiLanguage = false;
  }
  settings.helpFile.polish = Read(app, Setting::kHelpPolish);
  settings.helpFile.czech = Read(app, Setting::kHelpCzech);
  settings.defaultCopyDirectory = Read(app, Setting::kDefaultCopy);
  settings.catalog.categoryFile.polish = Read(app, Setting::kCategoryFilePolish);
  settings.catalog.categoryFile.czech = Read(app, Setting::kCategoryFileCzech);
  settings.catalog.programList = Read(app, Setting::kProgramList);
  settings.catalog.defaultDescription.polish = Read(app, Setting::kDescriptionPolish);
  settings.catalog.defaultDescription.czech = Read(app, Setting::kDescriptionCzech);
  return settings;
}
