#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "disc/finding.h"
#include "disc/path_limit.h"

// The disc as the browser sees it, served from a folder of this machine. Paths are in the Windows form of the
// disc's files (backslash separators) and relative to the disc root, which is both the browser's start
// directory and, on a real disc, the root of its drive: ".\prog.txt", "prog.txt" and "\prog.txt" name the
// same file.
//
// Paths are the disc's text, in code page 1250; this machine's names are taken in UTF-8. Names match as
// Windows matches them on a disc (SameName), so a program list that says SETUP.EXE or ŻABA finds setup.exe
// or żaba here too; the checker never rejects a disc the browser would accept. A path on drive D:
// ("D:\PROGS") is looked up as the browser finds it when the disc is drive D:, from the root of the disc; a
// path on another drive, or a network share, lies outside the disc and is never found.
class DiscFolder {
 public:
  explicit DiscFolder(std::filesystem::path root);

  // The browser's path resolution, with the disc root as current directory: a path naming a folder becomes
  // that folder, otherwise its directory part is resolved and the last component put back unchanged; when
  // the directory part does not exist, or the path is longer than the browser accepts, the path is left as it
  // is. Resolved paths are written relative to the root ("GRY\SZACHY\opis\opis1.txt"; the root itself is
  // "."), which is what an author recognises in a message. Returns whether the path was resolved.
  bool Resolve(std::string& path) const;

  // This machine's name for the file or folder, when it exists.
  std::optional<std::filesystem::path> Locate(const std::string& path) const;
  bool IsFile(const std::string& path) const;

  // Why what stands at the path cannot be read as a file from the disc, looked at without opening it (a pipe
  // would never answer, a device never end): a folder, a pipe, device or socket, a link leading nowhere or
  // out of the folder, or a name on the way that Windows cannot open. Nothing for a file, and for a path that
  // names nothing, which the caller reports its own way.
  struct Fault {
    FindingCode code;
    std::string text;
  };
  std::optional<Fault> FileFault(const std::string& path) const;

  // Whether the path starts with drive D:, which is the disc only when the disc is put in that drive.
  static bool OnDriveD(const std::string& path);
  // Whether the path starts with another drive letter or names a network share ("\\server\..."), and so
  // cannot be on the disc.
  static bool LeavesDisc(const std::string& path);

  const std::filesystem::path& root() const { return root_; }

 private:
  // The components below the root, or nothing for a path that leaves the disc.
  std::optional<std::vector<std::string>> Components(const std::string& path) const;
  std::optional<std::filesystem::path> Find(const std::vector<std::string>& components) const;
  const std::vector<std::string>& Listing(const std::filesystem::path& folder) const;

  std::filesystem::path root_;
  // The root with every link on its way followed, to tell where a link leads.
  std::filesystem::path realRoot_;
  mutable std::map<std::filesystem::path, std::vector<std::string>> listings_;
};
