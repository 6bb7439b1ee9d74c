#pragma once

#include <string>

#include "catalog/catalog_model.h"
#include "catalog/disc_access.h"
#include "catalog/load_sink.h"
#include "disc/disc_settings.h"
#include "disc/language.h"

// Fills the table from the category file of the language and the program list, read through `disc`,
// reporting every problem to the sink. When the sink stops at one, the load closes its files, calls the
// sink's LoadStopped and returns false; only a failing description file is followed by LoadStopped while the
// list is still open, as the browser has always shown that message. The table then holds what was built so
// far, or is left as it was when a file could not be opened. Where the sink goes on, a file that cannot be
// opened reads as empty.
bool LoadCatalog(const CatalogSources& sources, Language language, CategoryTable& table, DiscAccess& disc,
                 LoadSink& sink);
