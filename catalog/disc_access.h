#pragma once

#include <string>

#include "disc/text_file.h"

// How the catalogue load reaches the disc: the program resolves paths against its current directory on the
// real drive, the disc checker against a folder of this machine, tests against files in memory.
class DiscAccess {
 public:
  virtual ~DiscAccess() = default;
  // Makes path absolute, or leaves it unchanged when its directory cannot be entered.
  virtual void ResolvePath(std::string& path) = 0;
  virtual bool OpenTextFile(TextFile& file, const std::string& path) { return file.Open(path); }
};
