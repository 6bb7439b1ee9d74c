#pragma once

#include <string>

#include "framework/text_file.h"

// What the catalogue load needs from the program that hosts it: the Windows program passes its path
// resolution and a message box; tests pass fakes.
class LoadHost {
 public:
  virtual ~LoadHost() = default;
  // Makes path absolute, or leaves it unchanged when its directory cannot be entered.
  virtual void ResolvePath(std::string& path) = 0;
  // A modal message shown to the user; returns when it is dismissed.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual bool OpenTextFile(TextFile& file, const std::string& path) { return file.Open(path); }
};
