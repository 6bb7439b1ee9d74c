// Feeds arbitrary bytes to the whole catalogue load. The first byte chooses the language; the rest is the
// program list, or a category file, a NUL and the program list. Description files come from memory: any path
// serves a small valid description unless it names one of the failing kinds below, so inputs get past the
// description test and still reach each of its messages.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalog/catalog_load.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// Goes on past warnings and stops at the first finding that stops the load, as the browser does.
class MemoryHost : public DiscAccess, public LoadSink {
 public:
  MemoryHost(std::string categories, std::string programs)
      : categories_(std::move(categories)), programs_(std::move(programs)) {}
  std::vector<std::string> messages;

  void ResolvePath(std::string& path) override {
    if (path.empty() || path[0] == '\\' || (path.size() > 1 && path[1] == ':')) return;
    if (path.find("bad\\") != std::string::npos) return;  // a directory that cannot be entered
    if (path.size() > 1 && path.back() == '\\') path.pop_back();
    path = "D:\\" + path;
  }
  bool Report(const LoadFinding& finding) override {
    messages.push_back(finding.message);
    return !finding.stopsLoad;
  }
  bool OpenTextFile(TextFile& file, const std::string& path) override {
    if (path == "D:\\kat.txt") return file.OpenFromString(categories_);
    if (path == "D:\\prog.txt") return file.OpenFromString(programs_);
    if (path.find("none") != std::string::npos) return false;
    if (path.find("empty") != std::string::npos) return file.OpenFromString("");
    if (path.find("blank") != std::string::npos) return file.OpenFromString(" \t\r\nlater\r\n");
    return file.OpenFromString("  Title\r\nText\r\n");
  }

 private:
  std::string categories_;
  std::string programs_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Language language = LanguageOf((data[0] & 1) != 0);
  const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t split = rest.find('\0');
  std::string categories = "1;0;One\n$\n2;1;Two\n$\n12;0;Twelve\n$\n";
  std::string programs = rest;
  if (split != std::string::npos) {
    categories = rest.substr(0, split);
    programs = rest.substr(split + 1);
  }

  MemoryHost host(categories, programs);
  const CatalogSources sources{
      {"D:\\kat.txt", "D:\\kat.txt"}, "D:\\prog.txt", {"opis\\opis1.txt", "opis\\opis2.txt"}};
  CategoryTable table;
  const bool ok = LoadCatalog(sources, language, table, host, host);

  // Only warnings on success; on failure the last message is the error and every earlier one a warning.
  const std::size_t warnings = ok ? host.messages.size() : host.messages.size() - 1;
  Check(ok || !host.messages.empty());
  for (std::size_t i = 0; i < warnings; ++i) Check(StartsWith(host.messages[i], "Warning in line nr "));
  if (!ok) Check(!StartsWith(host.messages.back(), "Warning"));

  for (int id = 0; id < CategoryTable::kSlotCount; ++id) {
    const Category* category = table.Get(id);
    if (category == nullptr) continue;
    for (const auto& entry : category->programs) {
      Check(entry != nullptr);
      Check(!entry->title.empty());
      Check(entry->title.find_first_of(" \t\n\v\f\r") != 0);
      Check(!entry->directory.empty() && !entry->descriptionPath.empty());
      Check(!entry->runPath || !entry->runPath->empty());
      Check(!entry->installPath || !entry->installPath->empty());
      Check(!entry->copyDestination || !entry->copyDestination->empty());
    }
  }
  return 0;
}
