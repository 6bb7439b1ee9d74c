#include "app/catalog_app.h"

#include "app/startup_settings.h"
#include "ui/dialogs/language_dialog.h"
#include "ui/main/catalog_dialog.h"

bool CatalogApp::InitInstance() {
  CatalogDialog dialog;
  SetProfileName(kSettingsFile);

  const StartupSettings settings = ReadStartupSettings(*this, [] {
    LanguageDialog chooser;
    return static_cast<int>(chooser.DoModal());
  });
  SetHelpFilePath(settings.isPolish ? settings.helpPathPolish : settings.helpPathCzech);

  dialog.helpPathPolish = settings.helpPathPolish;
  dialog.helpPathCzech = settings.helpPathCzech;
  dialog.app = this;
  dialog.isMultiLanguage = settings.isMultiLanguage;
  dialog.programListPath = settings.programListPath;
  dialog.categoryFilePolish = settings.categoryFilePolish;
  dialog.categoryFileCzech = settings.categoryFileCzech;
  dialog.defaultDescriptionCzech = settings.defaultDescriptionCzech;
  dialog.defaultDescriptionPolish = settings.defaultDescriptionPolish;
  dialog.defaultCopyDirectory = settings.defaultCopyDirectory;
  dialog.isPolish = settings.isPolish;

  SetMainWindow(&dialog);
  dialog.DoModal();
  SetMainWindow(nullptr);
  // No message loop after the main window: the program ends here.
  return false;
}
