#pragma once

#include "framework/application.h"

// The application object: reads the settings, settles the language, and runs the main window; the program
// ends when the main window does.
class CatalogApp : public Application {
 public:
  bool InitInstance() override;
};
