#include "tools/output/safe_output.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// What is to go when a signal ends the tool. The handler may only read plain memory and make system calls, so
// the paths are kept in fixed buffers, each marked in use only once whole.
enum Kind : int { kFree = 0, kFile = 1, kFolder = 2 };
constexpr int kSlots = 8;
constexpr std::size_t kPathBytes = 4096;
char g_paths[kSlots][kPathBytes];
volatile std::sig_atomic_t g_kinds[kSlots];
volatile pid_t g_child = 0;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Removes the files of a folder with nothing but system calls: open, getdents64, unlinkat.
void EmptyFolder(const char* folder) {
  const int descriptor = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  alignas(8) char buffer[4096];
  for (;;) {
    const long count = syscall(SYS_getdents64, descriptor, buffer, sizeof buffer);
    if (count <= 0) break;
    bool removed = false;
    for (long at = 0; at < count;) {
      // struct linux_dirent64: inode (8), offset (8), record length (2), type (1), name.
      unsigned short length = 0;
      std::memcpy(&length, buffer + at + 16, sizeof length);
      const char* name = buffer + at + 19;
      if (!(name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))) {
        removed = unlinkat(descriptor, name, 0) == 0 || removed;
      }
      at += length;
    }
    // Removing entries while reading may make the listing skip some: start again until a pass finds none.
    if (removed) lseek(descriptor, 0, SEEK_SET);
  }
  close(descriptor);
}

void CleanUp(int signal) {
  const pid_t child = g_child;
  if (child > 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  for (int slot = 0; slot < kSlots; ++slot) {
    if (g_kinds[slot] == kFile) unlink(g_paths[slot]);
    if (g_kinds[slot] == kFolder) {
      EmptyFolder(g_paths[slot]);
      rmdir(g_paths[slot]);
    }
  }
  // The handler was reset on entry: the signal now ends the process as it would have.
  raise(signal);
}

void InstallHandlers() {
  static const bool installed = [] {
    for (const int signal : kSignals) {
      struct sigaction old {};
      sigaction(signal, nullptr, &old);
      // A signal the tool was started to ignore (nohup) stays ignored.
      if (old.sa_handler == SIG_IGN) continue;
      struct sigaction action {};
      action.sa_handler = CleanUp;
      sigemptyset(&action.sa_mask);
      for (const int other : kSignals) sigaddset(&action.sa_mask, other);
      action.sa_flags = SA_RESETHAND | SA_NODEFER;
      sigaction(signal, &action, nullptr);
    }
    return true;
  }();
  (void)installed;
}

// Holds the signals off while the list changes, or while files are put in place.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kSignals) sigaddset(&set, signal);
    pthread_sigmask(SIG_BLOCK, &set, &old_);
  }
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t old_;
};

// Marks the path for removal on a signal; -1 when the list is full or the path too long to keep, which the
// tools never come near.
int Register(const std::string& path, Kind kind) {
  InstallHandlers();
  if (path.size() >= kPathBytes) return -1;
  const SignalsHeld held;
  for (int slot = 0; slot < kSlots; ++slot) {
    if (g_kinds[slot] != kFree) continue;
    std::memcpy(g_paths[slot], path.c_str(), path.size() + 1);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    g_kinds[slot] = kind;
    return slot;
  }
  return -1;
}

void Unregister(int slot) {
  if (slot < 0) return;
  const SignalsHeld held;
  g_kinds[slot] = kFree;
}

// ".NAME.XXXXXX" in the target's folder, for mkstemp and mkdtemp.
std::string Pattern(const fs::path& target) {
  const std::string name = "." + target.filename().string() + ".XXXXXX";
  return target.has_parent_path() ? (target.parent_path() / name).string() : name;
}

}  // namespace

std::optional<TemporaryFile> TemporaryFile::Create(const fs::path& target, std::string& error) {
  std::string path = Pattern(target);
  // mkstemp makes the file with O_EXCL: never one that is there already, nor through a planted link.
  const int descriptor = mkostemp(path.data(), O_CLOEXEC);
  if (descriptor < 0) {
    error = std::strerror(errno);
    return std::nullopt;
  }
  const int slot = Register(path, kFile);
  // A finished file is for everyone to read, as any other file the user makes.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  return TemporaryFile(target, std::move(path), descriptor, slot);
}

TemporaryFile::TemporaryFile(fs::path target, std::string path, int descriptor, int slot)
    : target_(std::move(target)), path_(std::move(path)), descriptor_(descriptor), slot_(slot) {}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : target_(std::move(other.target_)),
      path_(std::move(other.path_)),
      descriptor_(other.descriptor_),
      slot_(other.slot_) {
  other.descriptor_ = -1;
  other.slot_ = -1;
  other.path_.clear();
}

TemporaryFile::~TemporaryFile() {
  if (descriptor_ >= 0) close(descriptor_);
  if (path_.empty()) return;
  unlink(path_.c_str());
  Unregister(slot_);
}

bool TemporaryFile::Close(std::string& error) {
  if (descriptor_ < 0) return true;
  const int result = close(descriptor_);
  descriptor_ = -1;
  if (result != 0) error = std::strerror(errno);
  return result == 0;
}

bool PublishAll(const std::vector<TemporaryFile*>& files, std::string& error) {
  const SignalsHeld held;
  for (TemporaryFile* file : files) {
    if (!file->Close(error)) {
      error = file->target_.string() + ": " + error;
      return false;
    }
  }
  // What each target held before, kept under a second name (a hard link, so the target itself stays in
  // place) until every file is in place.
  std::vector<std::string> kept(files.size());
  std::random_device random;
  for (std::size_t i = 0; i < files.size() && files.size() > 1; ++i) {
    const std::string target = files[i]->target_.string();
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = Pattern(files[i]->target_);
      name.replace(name.size() - 6, 6, std::to_string(random() % 1000000));
      if (link(target.c_str(), name.c_str()) == 0) {
        kept[i] = name;
        break;
      }
      if (errno != EEXIST) break;
    }
  }
  std::size_t placed = 0;
  for (; placed < files.size(); ++placed) {
    if (std::rename(files[placed]->path_.c_str(), files[placed]->target_.c_str()) != 0) {
      error = files[placed]->target_.string() + ": " + std::strerror(errno);
      break;
    }
  }
  const bool published = placed == files.size();
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!published && i < placed) {
      const std::string target = files[i]->target_.string();
      if (!kept[i].empty()) {
        std::rename(kept[i].c_str(), target.c_str());
      } else {
        unlink(target.c_str());
      }
    }
    if (!kept[i].empty()) unlink(kept[i].c_str());
  }
  // The temporaries put in place are gone under their own names.
  for (std::size_t i = 0; i < placed; ++i) {
    if (files[i]->slot_ >= 0) g_kinds[files[i]->slot_] = kFree;
    files[i]->slot_ = -1;
    files[i]->path_.clear();
  }
  return published;
}

std::optional<TemporaryFolder> TemporaryFolder::Create(const fs::path& target, std::string& error) {
  std::string path = Pattern(target);
  if (mkdtemp(path.data()) == nullptr) {
    error = std::strerror(errno);
    return std::nullopt;
  }
  const int slot = Register(path, kFolder);
  return TemporaryFolder(std::move(path), slot);
}

TemporaryFolder::TemporaryFolder(TemporaryFolder&& other) noexcept
    : path_(std::move(other.path_)), slot_(other.slot_) {
  other.path_.clear();
  other.slot_ = -1;
}

TemporaryFolder::~TemporaryFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  fs::remove_all(path_, ignored);
  Unregister(slot_);
}

void SetChildProcess(pid_t child) { g_child = child; }

bool LiesInside(const fs::path& target, const fs::path& folder) {
  std::error_code error;
  const fs::path root = fs::canonical(folder, error);
  if (error) return false;
  const fs::path place = fs::weakly_canonical(fs::absolute(target, error), error);
  if (error) return false;
  const fs::path inside = place.lexically_relative(root);
  return !inside.empty() && *inside.begin() != "..";
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  if (fs::weakly_canonical(fs::absolute(a, error), error) ==
          fs::weakly_canonical(fs::absolute(b, error), error) &&
      !error)
    return true;
  struct stat first {};
  struct stat second {};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}
