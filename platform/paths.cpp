#include "platform/paths.h"

#include <windows.h>

#include <direct.h>

#include <algorithm>
#include <cstring>

namespace {

// The name part is what follows the last backslash; without a backslash the whole path is the name and the
// directory part is the current directory.
struct SplitPath {
  std::string directory;
  std::string name;
};

SplitPath Split(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return {".", path};
  // A file directly at a drive root ("D:\\x") lies in that root. Its directory part without the backslash,
  // "D:", would name the drive's current directory instead, wherever the process has moved on that drive.
  if (slash == 2 && path[1] == ':') return {path.substr(0, 3), path.substr(3)};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

DWORD Attributes(const std::string& path) {
  return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
}

bool IsDirectory(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsDirectory(const std::string& path) { return IsDirectory(Attributes(path)); }

// A file found by a path was found inside that path's directory part, which therefore exists and is a
// directory: the catalogue resolves several paths of existing files for every program, and under Wine each
// look at the disc costs about as much as reading a small file. The shortcut is taken only where the
// directory part is looked up by the same text either way: not for an empty directory part or name, and not
// when the directory part ends in a dot or a space, which the platform strips from a last component but
// keeps inside a longer path.
bool FileProvesDirectory(DWORD attributes, const SplitPath& split) {
  if (attributes == INVALID_FILE_ATTRIBUTES || split.directory.empty() || split.name.empty()) return false;
  const char last = split.directory.back();
  return last != '.' && last != ' ';
}

// The absolute form of an existing directory, as the current directory would read after entering it: a drive
// root keeps its backslash, any other directory has none. Resolving by name instead of entering the directory
// and reading the current directory back gives the same text at a fraction of the cost (the catalogue
// resolves several paths for every program on the disc) and never moves the process's current directory.
bool AbsoluteDirectory(const std::string& directory, std::string& absolute) {
  char buffer[kMaxPathLength + 1];
  const DWORD length = GetFullPathNameA(directory.c_str(), sizeof buffer, buffer, nullptr);
  if (length == 0 || length >= sizeof buffer) return false;
  absolute.assign(buffer, length);
  while (absolute.size() > 3 && absolute.back() == '\\') absolute.pop_back();
  if (absolute.size() == 2 && absolute[1] == ':') absolute += '\\';
  return true;
}

}  // namespace

void ResolvePath(std::string& path) { PathResolver().Resolve(path); }

void PathResolver::Resolve(std::string& path) {
  if (path.size() > kMaxPathLength) return;
  // Relative directory texts mean something else from another current directory.
  char current[kMaxPathLength + 1];
  const DWORD currentLength = GetCurrentDirectoryA(sizeof current, current);
  if (currentLength == 0 || currentLength >= sizeof current) {
    currentDirectory_.clear();
    directories_.clear();
  } else if (currentDirectory_.compare(0, std::string::npos, current, currentLength) != 0) {
    currentDirectory_.assign(current, currentLength);
    directories_.clear();
  }

  std::string absolute;
  if (KnownDirectory(path, absolute)) {
    path = absolute;
    return;
  }
  const SplitPath split = Split(path);
  if (AnswerWithoutLooking(split.directory, split.name, path)) return;
  const DWORD attributes = Attributes(path);
  if (IsDirectory(attributes)) {
    if (AbsoluteDirectory(path, absolute)) {
      Remember(path, absolute);
      path = absolute;
    }
    return;
  }
  if (!KnownDirectory(split.directory, absolute)) {
    const bool directoryExists = FileProvesDirectory(attributes, split) || IsDirectory(split.directory);
    if (!directoryExists || !AbsoluteDirectory(split.directory, absolute)) return;
    Remember(split.directory, absolute);
  }
  if (!split.name.empty()) {
    if (absolute.back() != '\\') absolute += '\\';
    absolute += split.name;
  }
  if (absolute.size() > kMaxPathLength) return;
  path = absolute;
}

// A directory's text with one backslash added names the same directory and resolves to the same text, as the
// program list writes a program's directory after the files in it have been resolved. Not where the
// backslash would change what the text names: after a drive ("D:" is the drive's current directory, "D:\\"
// its root), nor after a dot, space or slash, which the platform may strip or read differently at the end of
// a path.
bool PathResolver::KnownDirectory(const std::string& directory, std::string& absolute) {
  if (currentDirectory_.empty()) return false;
  auto found = directories_.find(directory);
  if (found == directories_.end() && directory.size() >= 2 && directory.back() == '\\') {
    const char last = directory[directory.size() - 2];
    if (last != '\\' && last != '/' && last != ':' && last != '.' && last != ' ') {
      found = directories_.find(directory.substr(0, directory.size() - 1));
    }
  }
  if (found == directories_.end()) return false;
  absolute = found->second;
  return true;
}

// In a directory already seen, a plain name resolves to the same text whether it names a file, a directory or
// nothing at all: the directory's absolute form, a backslash and the name. The disc need not be asked again,
// as it need not for a program's installer beside its run file. Not for the names the platform reads in its
// own way ("." and "..", a trailing dot or space, a stream after ':', a '/' separator), nor in a directory
// whose text it may shorten when it stands last (a trailing dot, space, ':' or '/').
bool PathResolver::AnswerWithoutLooking(const std::string& directory, const std::string& name,
                                        std::string& path) {
  if (name.empty() || name.back() == '.' || name.back() == ' ' ||
      name.find_first_of(":/") != std::string::npos || directory.empty() ||
      std::string(".: /").find(directory.back()) != std::string::npos) {
    return false;
  }
  std::string absolute;
  if (!KnownDirectory(directory, absolute)) return false;
  if (absolute.back() != '\\') absolute += '\\';
  absolute += name;
  if (absolute.size() <= kMaxPathLength) path = absolute;
  return true;
}

void PathResolver::Remember(const std::string& directory, const std::string& absolute) {
  if (!currentDirectory_.empty()) directories_.emplace(directory, absolute);
}

namespace {

bool IsFile(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The file `name` names in the current directory as the plain start looks for it: as it is, or with ".exe"
// added when its last part has no extension. Empty when there is none.
std::string ExistingFile(const std::string& name) {
  if (IsFile(name)) return name;
  const std::size_t dot = name.rfind('.');
  const bool hasExtension = dot != std::string::npos && name.find_first_of("\\/", dot) == std::string::npos;
  return !hasExtension && IsFile(name + ".exe") ? name + ".exe" : std::string();
}

struct CommandLine {
  std::string file;
  std::string arguments;
};

// The file and the arguments of a command line, split as the platform's plain start splits a line it is given
// without a separate program name, so that the shell is handed the very file the plain start found: a first
// word in double quotes is the file; otherwise the shortest part of the line that ends at a space (or is the
// whole line) and names an existing file; otherwise the first word. The arguments are the rest of the line
// without the spaces before them.
CommandLine SplitCommandLine(const std::string& line) {
  std::string file;
  std::size_t fileEnd = 0;
  if (!line.empty() && line[0] == '"') {
    const std::size_t close = line.find('"', 1);
    file = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    fileEnd = close == std::string::npos ? line.size() : close + 1;
  } else {
    fileEnd = std::min(line.find(' '), line.size());
    file = line.substr(0, fileEnd);
    for (std::size_t end = line.find(' ');; end = line.find(' ', end + 1)) {
      const std::string found = ExistingFile(line.substr(0, end));
      if (!found.empty()) {
        file = found;
        fileEnd = std::min(end, line.size());
        break;
      }
      if (end == std::string::npos) break;
    }
  }
  const std::size_t arguments = line.find_first_not_of(' ', fileEnd);
  return {file, arguments == std::string::npos ? std::string() : line.substr(arguments)};
}

// Windows Vista's "the program asks for administrator rights", which MinGW's headers do not name.
constexpr DWORD kElevationRequired = 740;

// Runs in the program's directory.
LaunchResult Start(const std::string& commandLine, int showCommand, const Starters& starters) {
  const UINT code = starters.plain(commandLine.c_str(), static_cast<UINT>(showCommand));
  const DWORD error = GetLastError();
  if (code > 31) return LaunchResult::kStarted;
  if (code == ERROR_FILE_NOT_FOUND) return LaunchResult::kFileNotFound;
  if (code == ERROR_PATH_NOT_FOUND) return LaunchResult::kPathNotFound;
  if (code != ERROR_BAD_FORMAT && error != kElevationRequired && error != ERROR_BAD_EXE_FORMAT) {
    return LaunchResult::kNotStarted;
  }
  const CommandLine split = SplitCommandLine(commandLine);
  char file[kMaxPathLength + 1];
  char directory[kMaxPathLength + 1];
  const DWORD fileLength = GetFullPathNameA(split.file.c_str(), sizeof file, file, nullptr);
  if (fileLength == 0 || fileLength >= sizeof file || _getcwd(directory, sizeof directory) == nullptr) {
    return LaunchResult::kNotStarted;
  }
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  // No error box of the platform's: the caller says what went wrong. And the start is done when the call
  // returns, before the caller's directory is put back.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = nullptr;  // the default: open a document, and ask for the rights an installer needs
  info.lpFile = file;
  info.lpParameters = split.arguments.empty() ? nullptr : split.arguments.c_str();
  info.lpDirectory = directory;
  info.nShow = showCommand;
  if (starters.shell(&info)) return LaunchResult::kStarted;
  return GetLastError() == ERROR_CANCELLED ? LaunchResult::kDeclined : LaunchResult::kNotStarted;
}

}  // namespace

// The shell may hand the start to extensions made of COM objects (many of the programs Windows 10 and later
// register for documents are), which need COM on the calling thread. COM's library is looked up by name when
// a start needs it, so that the program imports no more than it did; once loaded it stays, as the shell keeps
// it too.
BOOL WINAPI ShellExecuteWithCom(SHELLEXECUTEINFOA* info) {
  using Initialize = HRESULT(WINAPI*)(void*, DWORD);
  using Uninitialize = void(WINAPI*)();
  const HMODULE ole = LoadLibraryA("ole32.dll");
  auto function = [ole](const char* name) {
    return ole != nullptr ? reinterpret_cast<void*>(GetProcAddress(ole, name)) : nullptr;
  };
  const auto initialize = reinterpret_cast<Initialize>(function("CoInitializeEx"));
  const auto uninitialize = reinterpret_cast<Uninitialize>(function("CoUninitialize"));
  const bool initialized = initialize != nullptr && uninitialize != nullptr &&
                           SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  const BOOL started = ShellExecuteExA(info);
  const DWORD error = GetLastError();
  if (initialized) uninitialize();
  SetLastError(error);
  return started;
}

LaunchResult LaunchInDirectory(const std::string& path, int showCommand, const Starters& starters) {
  if (path.size() > kMaxPathLength) return LaunchResult::kPathNotFound;
  char saved[kMaxPathLength + 1];
  // Without the saved directory it could not be restored, so nothing is attempted.
  if (_getcwd(saved, static_cast<int>(sizeof saved)) == nullptr) return LaunchResult::kPathNotFound;

  std::string name;
  if (_chdir(path.c_str()) != 0) {
    SplitPath split = Split(path);
    // "\\setup.exe" names a file at the root of the current drive; its directory part is empty, and an empty
    // directory cannot be entered. The root it means can.
    if (split.directory.empty() && !path.empty() && path[0] == '\\') split.directory = "\\";
    if (_chdir(split.directory.c_str()) != 0) return LaunchResult::kPathNotFound;
    name = split.name;
  }
  // The name part is the whole command line: the program is named relative to the directory just entered, and
  // any arguments after it reach the platform unchanged.
  const LaunchResult result =
      name.empty() ? LaunchResult::kNothingToStart : Start(name, showCommand, starters);
  _chdir(saved);
  return result;
}
