#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalog/disc_access.h"
#include "catalog/load_sink.h"
#include "disc/text_file.h"

// Serves files from memory and resolves paths as the real program would with D:\ current and every directory
// existing except those under MISSING\: relative paths go under D:\, a leading .\ is dropped, a path naming a
// directory loses its trailing backslash, and paths that start at a root or carry a drive stay as written.
// One host per load: it keeps pointers to the load's open files.
//
// As the load's sink it goes on past a warning and stops at the first finding that stops the load, as the
// browser does, and notes which of the load's files were open when each message would be shown: a warning at
// once, the stopping one when the load says it has stopped.
class FakeLoadHost : public DiscAccess, public LoadSink {
 public:
  static constexpr const char* kCategoryFilePolish = "D:\\kat1.txt";
  static constexpr const char* kCategoryFileCzech = "D:\\kat2.txt";
  static constexpr const char* kProgramList = "D:\\prog.txt";

  std::map<std::string, std::string> files;
  // Served for any other path on D: that does not mention "none", so most tests need not list every program's
  // description file.
  std::optional<std::string> otherFilesOnD;
  std::vector<std::string> messages;
  std::vector<std::string> opened;
  // For each message, the paths of the watched files that were still open when it was shown.
  std::vector<std::vector<std::string>> openAtMessage;

  void ResolvePath(std::string& path) override {
    if (path.empty() || path[0] == '\\' || (path.size() > 1 && path[1] == ':')) return;
    if (path.rfind("MISSING\\", 0) == 0) return;
    std::string relative = path.rfind(".\\", 0) == 0 ? path.substr(2) : path;
    if (relative.size() > 1 && relative.back() == '\\') relative.pop_back();
    path = "D:\\" + relative;
  }

  bool Report(const LoadFinding& finding) override {
    messages.push_back(finding.message);
    if (finding.stopsLoad) return false;
    NoteOpenFiles();
    return true;
  }
  void LoadStopped() override { NoteOpenFiles(); }

  void NoteOpenFiles() {
    std::vector<std::string> open;
    for (const auto& [path, file] : watched_) {
      if (file->IsOpen()) open.push_back(path);
    }
    openAtMessage.push_back(open);
  }

  bool OpenTextFile(TextFile& file, const std::string& path) override {
    opened.push_back(path);
    const auto found = files.find(path);
    if (found != files.end()) {
      file.OpenFromString(found->second);
    } else if (otherFilesOnD && path.rfind("D:\\", 0) == 0 && path.find("none") == std::string::npos) {
      file.OpenFromString(*otherFilesOnD);
    } else {
      return false;
    }
    // Only the load's own files are watched: they live for the whole load, while a description file is gone
    // by the time a later message is shown.
    if (path == kCategoryFilePolish || path == kCategoryFileCzech || path == kProgramList)
      watched_[path] = &file;
    return true;
  }

 private:
  std::map<std::string, TextFile*> watched_;
};
