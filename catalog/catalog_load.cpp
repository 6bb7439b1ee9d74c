#include "catalog/catalog_load.h"

#include "catalog/category_file.h"
#include "catalog/program_list.h"
#include "disc/text_file.h"

namespace {

LoadFinding CannotOpen(const std::string& path) {
  LoadFinding finding;
  finding.code = FindingCode::kCannotOpen;
  finding.file = path;
  finding.message = "Could not open file " + path;
  finding.reason = finding.message;
  return finding;
}

}  // namespace

bool LoadCatalog(const CatalogSources& sources, Language language, CategoryTable& table, LoadHost& host) {
  const bool isPolish = language == Language::kPolish;
  const auto stopped = [&host] {
    host.LoadStopped();
    return false;
  };
  // A file that cannot be opened reads as empty where the sink goes on past it.
  const std::string& categoryPath = isPolish ? sources.categoryFilePolish : sources.categoryFileCzech;
  TextFile categoryFile;
  if (!host.OpenTextFile(categoryFile, categoryPath) && !host.Report(CannotOpen(categoryPath)))
    return stopped();
  TextFile programList;
  if (!host.OpenTextFile(programList, sources.programListPath) &&
      !host.Report(CannotOpen(sources.programListPath))) {
    categoryFile.Close();
    return stopped();
  }

  // Only now: a load that cannot open its files leaves the catalogue as it was.
  table.Clear();
  table.AddCategory(0, -1, std::string(), std::string());

  const bool categoriesRead = ReadCategoryFile(categoryFile, categoryPath, table, host);
  categoryFile.Close();
  if (!categoriesRead) {
    programList.Close();
    return stopped();
  }

  const std::string& defaultDescription =
      isPolish ? sources.defaultDescriptionPolish : sources.defaultDescriptionCzech;
  const bool listRead =
      ReadProgramList(programList, sources.programListPath, language, defaultDescription, table, host);
  // A fault in the list's format has closed it already; a failing description file is shown with the list
  // still open, as the browser always has.
  if (!listRead) host.LoadStopped();
  programList.Close();
  return listRead;
}
