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

bool LoadCatalog(const CatalogSources& sources, Language language, CategoryTable& table, DiscAccess& disc,
                 LoadSink& sink) {
  const auto stopped = [&sink] {
    sink.LoadStopped();
    return false;
  };
  // A file that cannot be opened reads as empty where the sink goes on past it.
  const std::string& categoryPath = sources.categoryFile[language];
  TextFile categoryFile;
  if (!disc.OpenTextFile(categoryFile, categoryPath) && !sink.Report(CannotOpen(categoryPath)))
    return stopped();
  TextFile programList;
  if (!disc.OpenTextFile(programList, sources.programList) && !sink.Report(CannotOpen(sources.programList))) {
    categoryFile.Close();
    return stopped();
  }

  // Only now: a load that cannot open its files leaves the catalogue as it was.
  table.Clear();
  table.AddCategory(0, -1, std::string(), std::string());

  const bool categoriesRead = ReadCategoryFile(categoryFile, categoryPath, table, sink);
  categoryFile.Close();
  if (!categoriesRead) {
    programList.Close();
    return stopped();
  }

  const std::string& defaultDescription = sources.defaultDescription[language];
  const bool listRead =
      ReadProgramList(programList, sources.programList, language, defaultDescription, table, disc, sink);
  // A fault in the list's format has closed it already; a failing description file is shown with the list
  // still open, as the browser always has.
  if (!listRead) sink.LoadStopped();
  programList.Close();
  return listRead;
}
