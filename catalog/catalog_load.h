#pragma once

#include <string>

#include "catalog/catalog_model.h"
#include "catalog/load_host.h"

// Where the catalogue comes from; every path already absolute. The default description names are relative to
// each program's directory.
struct CatalogSources {
  std::string categoryFilePolish;
  std::string categoryFileCzech;
  std::string programListPath;
  std::string defaultDescriptionPolish;
  std::string defaultDescriptionCzech;
};

// Fills the table from the category file of the language and the program list. On failure the message has
// been shown and the table holds what was built so far.
bool LoadCatalog(const CatalogSources& sources, bool isPolish, CategoryTable& table, LoadHost& host);
