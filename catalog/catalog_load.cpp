#include "catalog/catalog_load.h"

#include "catalog/category_file.h"
#include "catalog/program_list.h"
#include "framework/text_file.h"

namespace {

bool LoadForDiagnostics(const CatalogSources& sources, bool isPolish, CategoryTable& table, LoadHost& host,
                        LoadDiagnostics& diagnostics) {
  const std::string& categoryPath = isPolish ? sources.categoryFilePolish : sources.categoryFileCzech;
  table.Clear();
  table.AddCategory(0, -1, std::string(), std::string());
  bool clean = true;
  TextFile categoryFile;
  if (host.OpenTextFile(categoryFile, categoryPath)) {
    clean = ReadCategoryFile(categoryFile, categoryPath, table, &diagnostics).ok;
    categoryFile.Close();
  } else {
    diagnostics.Report(LoadDiagnostics::Severity::kError, categoryPath, 0,
                       "Could not open file " + categoryPath);
    clean = false;
  }
  TextFile programList;
  if (!host.OpenTextFile(programList, sources.programListPath)) {
    diagnostics.Report(LoadDiagnostics::Severity::kError, sources.programListPath, 0,
                       "Could not open file " + sources.programListPath);
    return false;
  }
  const std::string& defaultDescription =
      isPolish ? sources.defaultDescriptionPolish : sources.defaultDescriptionCzech;
  if (!ReadProgramList(programList, sources.programListPath, isPolish, defaultDescription, table, host,
                       &diagnostics)) {
    clean = false;
  }
  return clean;
}

}  // namespace

bool LoadCatalog(const CatalogSources& sources, bool isPolish, CategoryTable& table, LoadHost& host,
                 LoadDiagnostics* diagnostics) {
  if (diagnostics != nullptr) return LoadForDiagnostics(sources, isPolish, table, host, *diagnostics);
  const std::string& categoryPath = isPolish ? sources.categoryFilePolish : sources.categoryFileCzech;
  TextFile categoryFile;
  if (!host.OpenTextFile(categoryFile, categoryPath)) {
    host.ShowMessage("Could not open file " + categoryPath);
    return false;
  }
  TextFile programList;
  if (!host.OpenTextFile(programList, sources.programListPath)) {
    categoryFile.Close();
    host.ShowMessage("Could not open file " + sources.programListPath);
    return false;
  }

  table.Clear();
  table.AddCategory(0, -1, std::string(), std::string());

  // Both files are closed before the message: the box is modal and may stay up for as long as the user likes,
  // and the disc's files should not be held open behind it.
  const ReadResult categories = ReadCategoryFile(categoryFile, categoryPath, table);
  if (!categories.ok) {
    categoryFile.Close();
    programList.Close();
    host.ShowMessage(categories.message);
    return false;
  }
  categoryFile.Close();

  const std::string& defaultDescription =
      isPolish ? sources.defaultDescriptionPolish : sources.defaultDescriptionCzech;
  if (!ReadProgramList(programList, sources.programListPath, isPolish, defaultDescription, table, host)) {
    return false;
  }
  programList.Close();
  return true;
}
