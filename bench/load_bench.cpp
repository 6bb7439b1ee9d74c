// Times the catalogue load against the plain reading of the files it reads, in one process: the load as the
// browser runs it (settings read from the current directory, paths resolved by the program's own resolver),
// then the same files opened and read whole with nothing else done. Run from the disc root.
//
// Usage: load_bench [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "bench/timing.h"
#include "app/startup_settings.h"
#include "catalog/catalog_load.h"
#include "framework/application.h"

namespace {

// The browser's host, except that a message is kept instead of shown: a benchmark that stops on a message box
// would measure the person at the keyboard.
class BenchHost : public DiscAccess, public LoadSink {
 public:
  void ResolvePath(std::string& path) override { resolver.Resolve(path); }
  bool Report(const LoadFinding& finding) override {
    messages.push_back(finding.message);
    return !finding.stopsLoad;
  }
  PathResolver resolver;
  std::vector<std::string> messages;
};

// Only for the first, untimed load: finds out which files the load reads.
class RecordingHost : public BenchHost {
 public:
  void ResolvePath(std::string& path) override {
    resolved.push_back(path);
    resolver.Resolve(path);
  }
  bool OpenTextFile(TextFile& file, const std::string& path) override {
    opened.push_back(path);
    return file.Open(path);
  }
  std::vector<std::string> opened;
  std::vector<std::string> resolved;
};

// Everything the load has to do with a file, and no more: open it, read it to its end, close it.
long long ReadAllWin32(const std::vector<std::string>& paths) {
  static char buffer[64 * 1024];
  long long total = 0;
  for (const std::string& path : paths) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) total += got;
    CloseHandle(file);
  }
  return total;
}

// The same through the C runtime, which is what the load's text file uses: the gap between the two floors is
// the runtime's own cost.
long long ReadAllCrt(const std::vector<std::string>& paths) {
  static char buffer[64 * 1024];
  long long total = 0;
  for (const std::string& path : paths) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return -1;
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) total += static_cast<long long>(got);
    std::fclose(file);
  }
  return total;
}

// The load's two kinds of work on their own, to show where its time beyond the floor goes.
void ResolveAll(const std::vector<std::string>& paths) {
  PathResolver resolver;
  for (std::string path : paths) resolver.Resolve(path);
}

void ReadAllTextFile(const std::vector<std::string>& paths) {
  std::string line;
  for (const std::string& path : paths) {
    TextFile file;
    if (!file.Open(path)) return;
    while (file.ReadLine(line)) {
    }
  }
}

void PrintRuns(const char* label, const std::vector<double>& runs) {
  std::printf("%-34s median %9.1f ms   runs:", label, Median(runs) * 1000);
  for (double run : runs) std::printf(" %.1f", run * 1000);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  Application app;
  app.SetProfileName(kSettingsFile);
  const StartupSettings settings = ReadStartupSettings(app, [] {
    std::fprintf(stderr, "the settings ask for the language chooser; set multi_lang=no\n");
    std::exit(2);
    return 0;
  });
  const CatalogSources& sources = settings.catalog;
  const Language language = settings.language;

  // The first load finds the files and warms the caches for both sides alike; it is not counted.
  RecordingHost recorder;
  auto table = std::make_unique<CategoryTable>();
  const bool loaded = LoadCatalog(sources, language, *table, recorder, recorder);
  for (const std::string& message : recorder.messages) std::fprintf(stderr, "message: %s\n", message.c_str());
  if (!loaded || !recorder.messages.empty()) return 2;
  int categories = 0;
  long long programs = 0;
  for (int id = 0; id < CategoryTable::kSlotCount; ++id) {
    if (const Category* category = table->Get(id)) {
      ++categories;
      programs += static_cast<long long>(category->programs.size());
    }
  }
  const long long bytes = ReadAllWin32(recorder.opened);
  if (bytes < 0 || ReadAllCrt(recorder.opened) != bytes) {
    std::fprintf(stderr, "a file the load read cannot be read again\n");
    return 2;
  }

  std::vector<double> loadRuns, floorRuns, crtRuns, resolveRuns, textFileRuns;
  for (int run = 0; run < runs; ++run) {
    // Interleaved, so that whatever else the machine does falls on both sides.
    auto fresh = std::make_unique<CategoryTable>();
    BenchHost host;
    double start = Seconds();
    const bool ok = LoadCatalog(sources, language, *fresh, host, host);
    loadRuns.push_back(Seconds() - start);
    if (!ok || !host.messages.empty()) return 2;
    fresh.reset();

    start = Seconds();
    ReadAllWin32(recorder.opened);
    floorRuns.push_back(Seconds() - start);

    start = Seconds();
    ReadAllCrt(recorder.opened);
    crtRuns.push_back(Seconds() - start);

    start = Seconds();
    ResolveAll(recorder.resolved);
    resolveRuns.push_back(Seconds() - start);

    start = Seconds();
    ReadAllTextFile(recorder.opened);
    textFileRuns.push_back(Seconds() - start);
  }

  std::printf(
      "catalogue: %s, %d categories with the root, %lld programs; the load reads %zu files, %lld bytes\n",
      sources.programList.c_str(), categories, programs, recorder.opened.size(), bytes);
  PrintRuns("load (LoadCatalog):", loadRuns);
  PrintRuns("I/O floor (CreateFile+ReadFile):", floorRuns);
  PrintRuns("same through fopen+fread:", crtRuns);
  std::printf("parts of the load:\n");
  PrintRuns("  ResolvePath of its paths:", resolveRuns);
  std::printf("  (%zu calls)\n", recorder.resolved.size());
  PrintRuns("  TextFile reading of its files:", textFileRuns);
  // Each run's own ratio as well: on a busy machine a slow moment falls on one side of a run, not both.
  std::vector<double> ratios;
  for (std::size_t i = 0; i < loadRuns.size(); ++i) ratios.push_back(loadRuns[i] / floorRuns[i]);
  std::printf("load / floor of each run:");
  for (double r : ratios) std::printf(" %.2f", r);
  std::printf("   median %.2f\n", Median(ratios));
  // On a shared machine a disturbance only ever adds time: the fastest run of each side is the one least
  // disturbed.
  std::printf("load / floor of the fastest runs: %.2f\n",
              *std::min_element(loadRuns.begin(), loadRuns.end()) /
                  *std::min_element(floorRuns.begin(), floorRuns.end()));
  const double ratio = Median(loadRuns) / Median(floorRuns);
  std::printf("load / floor of the medians: %.2f (target 1.30 or less: %s)\n", ratio,
              ratio <= 1.30 ? "met" : "NOT met");
  return 0;
}
