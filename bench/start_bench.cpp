// Times, for each program given, the start until its main window is on screen: from just before
// CreateProcess to the first visible top-level window of the new process. Every program is started the same
// way (its full path as the command line, a working directory given), the programs take turns, and each is
// ended once its window has been seen. The first start of each warms the caches and is not counted.
//
// Usage: start_bench RUNS LABEL DIRECTORY PROGRAM [LABEL DIRECTORY PROGRAM ...]
#include <windows.h>

#include "bench/timing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Subject {
  std::string label;
  std::string directory;
  std::string program;
  std::vector<double> runs;
};

struct WindowSearch {
  DWORD processId;
  bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

// Seconds until the window shows, or a negative value when the process ends first or takes over a minute.
double TimeStart(const Subject& subject) {
  std::string commandLine = "\"" + subject.program + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const double start = Seconds();
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      subject.directory.c_str(), &startup, &process)) {
    return -1;
  }
  double elapsed = -1;
  WindowSearch search = {process.dwProcessId, false};
  // A millisecond's sleep between looks keeps the watcher from taking a core from the program it watches.
  while (Seconds() - start < 60) {
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      elapsed = Seconds() - start;
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5 || (argc - 2) % 3 != 0) {
    std::fprintf(stderr, "usage: start_bench RUNS LABEL DIRECTORY PROGRAM [LABEL DIRECTORY PROGRAM ...]\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  std::vector<Subject> subjects;
  for (int i = 2; i + 2 < argc; i += 3) subjects.push_back({argv[i], argv[i + 1], argv[i + 2], {}});

  for (int run = -1; run < runs; ++run) {
    for (Subject& subject : subjects) {
      const double seconds = TimeStart(subject);
      if (seconds < 0) {
        std::fprintf(stderr, "%s (%s) showed no window\n", subject.label.c_str(), subject.program.c_str());
        return 2;
      }
      if (run >= 0) subject.runs.push_back(seconds);
    }
  }
  for (const Subject& subject : subjects) {
    std::printf("%-26s median %8.1f ms   runs:", (subject.label + " window shown:").c_str(),
                Median(subject.runs) * 1000);
    for (double seconds : subject.runs) std::printf(" %.1f", seconds * 1000);
    std::printf("\n");
  }
  for (std::size_t i = 1; i < subjects.size(); ++i) {
    std::printf("%s / %s: %.2f\n", subjects[i - 1].label.c_str(), subjects[i].label.c_str(),
                Median(subjects[i - 1].runs) / Median(subjects[i].runs));
  }
  return 0;
}
