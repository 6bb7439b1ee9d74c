#pragma once

#include <string>

#include "catalog/catalog_model.h"
#include "catalog/load_host.h"
#include "disc/language.h"

// Where the catalogue comes from; every path already absolute. The default description names are relative to
// each program's directory.
struct CatalogSources {
  std::string categoryFilePolish;
  std::string categoryFileCzech;
  std::string programListPath;
  std::string defaultDescriptionPolish;
  std::string defaultDescriptionCzech;
};

// Fills the table from the category file of the language and the program list, reporting every problem to the
// host, which is the load's sink. When the sink stops at one, the load closes its files, calls the sink's
// LoadStopped and returns false; only a failing description file is followed by LoadStopped while the list is
// still open, as the browser has always shown that message. The table then holds what was built so far, or is
// left as it was when a file could not be opened. Where the sink goes on, a file that cannot be opened reads
// as empty.
bool LoadCatalog(const CatalogSources& sources, Language language, CategoryTable& table, LoadHost& host);
