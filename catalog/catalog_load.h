#pragma once

#include <string>

#include "catalog/catalog_model.h"
#include "catalog/load_diagnostics.h"
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
//
// With diagnostics nothing is shown: every problem of both files is reported there (a file that cannot be
// opened at line 0), the program list is read even after errors in the category file, and the result is
// false when any error was reported.
bool LoadCatalog(const CatalogSources& sources, bool isPolish, CategoryTable& table, LoadHost& host,
                 LoadDiagnostics* diagnostics = nullptr);
