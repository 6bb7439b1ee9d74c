#include "app/catalog_app.h"

// The single application object; the entry point runs it.
CatalogApp theApp;
