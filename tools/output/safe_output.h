#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Output files the author tools write: made beside their target under a name of their own, created
// exclusively, and renamed into place only once whole. Whatever stops the tool first (a failure, an exception
// that unwinds, or SIGINT, SIGTERM or SIGHUP) takes them away again, so that neither half a file nor a stray
// temporary is left, and an older file in the target's place stays as it was.

class TemporaryFile {
 public:
  // Creates ".NAME.XXXXXX" in the target's folder, readable by everyone as the finished file will be.
  // Returns nothing, with the reason in `error`, when it cannot be made.
  static std::optional<TemporaryFile> Create(const std::filesystem::path& target, std::string& error);

  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&&) = delete;
  TemporaryFile(const TemporaryFile&) = delete;
  ~TemporaryFile();

  // Open for writing until Close or Publish.
  int descriptor() const { return descriptor_; }
  const std::string& path() const { return path_; }
  const std::filesystem::path& target() const { return target_; }
  // Closes the descriptor; false, with the reason, when what was written may not all have reached the file.
  bool Close(std::string& error);

 private:
  friend bool PublishAll(const std::vector<TemporaryFile*>& files, std::string& error);
  TemporaryFile(std::filesystem::path target, std::string path, int descriptor, int slot);

  std::filesystem::path target_;
  std::string path_;
  int descriptor_ = -1;
  int slot_ = -1;  // in the list the signal handler empties; -1 once published or moved from
};

// Renames every file into its target's place, all or none: when one cannot be put in place, those already
// put back are replaced by what was there before (or removed when nothing was). Signals wait until it is
// done.
bool PublishAll(const std::vector<TemporaryFile*>& files, std::string& error);

// A work folder ".NAME.XXXXXX" beside the target, removed with the files in it (it holds no folders).
class TemporaryFolder {
 public:
  static std::optional<TemporaryFolder> Create(const std::filesystem::path& target, std::string& error);

  TemporaryFolder(TemporaryFolder&& other) noexcept;
  TemporaryFolder& operator=(TemporaryFolder&&) = delete;
  TemporaryFolder(const TemporaryFolder&) = delete;
  ~TemporaryFolder();

  const std::string& path() const { return path_; }

 private:
  TemporaryFolder(std::string path, int slot) : path_(std::move(path)), slot_(slot) {}

  std::string path_;
  int slot_ = -1;
};

// A program the tool waits for while it writes into a temporary folder: stopped before the folder is removed
// on a signal. 0 when there is none.
void SetChildProcess(pid_t child);

// Whether `target` lies inside `folder` (or is the folder itself), seeing through links and other spellings
// of the same place: an output there would become part of the input it is made from.
bool LiesInside(const std::filesystem::path& target, const std::filesystem::path& folder);
// Whether two paths name the same file (through links, other spellings or hard links).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);
