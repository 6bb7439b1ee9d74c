#pragma once

#include <string>

#include "catalog/load_sink.h"
#include "disc/text_file.h"

// What the catalogue load needs from the program that hosts it: the Windows program passes its path
// resolution and a message box; tests pass fakes.
//
// It is the load's sink as well, and reports as the browser does: a warning is shown at once and the load
// goes on; the first finding that stops the load ends it, and is shown once the load has closed its files
// (the box is modal and may stay up for as long as the user likes: the disc's files should not be held open
// behind it).
class LoadHost : public LoadSink {
 public:
  // Makes path absolute, or leaves it unchanged when its directory cannot be entered.
  virtual void ResolvePath(std::string& path) = 0;
  // A modal message shown to the user; returns when it is dismissed.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual bool OpenTextFile(TextFile& file, const std::string& path) { return file.Open(path); }

  bool Report(const LoadFinding& finding) override;
  void LoadStopped() override;

 private:
  std::string stopMessage_;
};
