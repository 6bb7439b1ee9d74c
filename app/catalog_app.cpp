#include "app/catalog_app.h"

#include "app/startup_settings.h"
#include "ui/dialogs/language_dialog.h"
#include "ui/main/catalog_dialog.h"

bool CatalogApp::InitInstance() {
  CatalogDialog dialog;
  SetProfileName(kSettingsFile);
  dialog.settings = ReadStartupSettings(*this, [] {
    LanguageDialog chooser;
    return static_cast<int>(chooser.DoModal());
  });
  SetMainWindow(&dialog);
  dialog.DoModal();
  SetMainWindow(nullptr);
  // No message loop after the main window: the program ends here.
  return false;
}
