#pragma once

#include <string>
#include <unordered_map>

#include "disc/path_limit.h"

// Paths as written on the disc (settings file, program list) are relative to the process's current directory,
// which is the disc root while the program starts. Both operations leave the current directory as they found
// it.

// Makes `path` absolute: its directory part is interpreted against the current directory and its last
// component put back behind it (the last component need not exist). A path that names an existing directory
// as a whole becomes that directory without a trailing backslash (except a drive root). When the directory
// part does not exist, or the path or its result would be longer than kMaxPathLength, `path` is left
// unchanged.
void ResolvePath(std::string& path);

// ResolvePath for many paths in a row, as the catalogue load resolves them: the same results, but a directory
// once seen to exist is not looked up again, nor are the plain names in it (each look at the disc costs about
// as much as reading a small file under Wine, and every program's paths share their directories). What it
// remembers holds for one current directory and is dropped when that changes; a directory removed while the
// resolver lives is still taken as existing, so it should live no longer than one pass over the catalogue.
class PathResolver {
 public:
  void Resolve(std::string& path);

 private:
  bool KnownDirectory(const std::string& directory, std::string& absolute);
  bool AnswerWithoutLooking(const std::string& directory, const std::string& name, std::string& path);
  void Remember(const std::string& directory, const std::string& absolute);

  std::string currentDirectory_;
  std::unordered_map<std::string, std::string> directories_;
};

// What LaunchInDirectory returns when `path` names a directory: nothing is started, and callers take it as
// success (it is neither of the "not found" codes).
constexpr unsigned kLaunchNothingToStart = 32;

// Starts the program file `path` (optionally followed by arguments after its last backslash) with the file's
// own directory as the current directory, so the program finds its files by relative names. Returns WinExec's
// code (above 31: started; 2: file not found; 3: path not found), 3 when the directory part cannot be entered
// or the path is longer than kMaxPathLength, and kLaunchNothingToStart when `path` names a directory.
unsigned LaunchInDirectory(const std::string& path, int showCommand);
