#include "tools/check/disc_folder.h"

#include <system_error>
#include <utility>

#include "disc/code_page.h"
#include "disc/names.h"

namespace {

// This machine's name for a component of the disc's text.
std::filesystem::path MachineName(const std::string& component) {
  return std::filesystem::u8path(Utf8FromCodePage1250(component));
}

std::string Join(const std::vector<std::string>& components) {
  if (components.empty()) return ".";
  std::string joined;
  for (const auto& component : components) {
    if (!joined.empty()) joined += '\\';
    joined += component;
  }
  return joined;
}

}  // namespace

DiscFolder::DiscFolder(std::filesystem::path root) : root_(std::move(root)) {
  std::error_code error;
  realRoot_ = std::filesystem::canonical(root_, error);
  if (error) realRoot_ = root_;
}

bool DiscFolder::OnDriveD(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && (path[0] == 'D' || path[0] == 'd');
}

bool DiscFolder::LeavesDisc(const std::string& path) {
  if (path.compare(0, 2, "\\\\") == 0) return true;
  return path.size() >= 2 && path[1] == ':' && !OnDriveD(path) &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::optional<std::vector<std::string>> DiscFolder::Components(const std::string& given) const {
  if (LeavesDisc(given) || given.find('\0') != std::string::npos) return std::nullopt;
  // On drive D: the browser's current directory is the disc's root, so "D:\x" and "D:x" both start there.
  const std::string path = OnDriveD(given) ? given.substr(2) : given;
  std::vector<std::string> components;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(start, end - start);
    start = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      // Above the root of the disc's drive there is nothing more; Windows stays at the root.
      if (!components.empty()) components.pop_back();
      continue;
    }
    components.push_back(component);
  }
  return components;
}

const std::vector<std::string>& DiscFolder::Listing(const std::filesystem::path& folder) const {
  const auto found = listings_.find(folder);
  if (found != listings_.end()) return found->second;
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    names.push_back(it->path().filename().u8string());
  }
  return listings_.emplace(folder, std::move(names)).first->second;
}

std::optional<std::filesystem::path> DiscFolder::Find(const std::vector<std::string>& components) const {
  std::filesystem::path current = root_;
  std::error_code error;
  for (const auto& component : components) {
    // A name this machine could not hold as one component cannot be on the disc either.
    if (component.find('/') != std::string::npos) return std::nullopt;
    if (!std::filesystem::is_directory(current, error)) return std::nullopt;
    if (std::filesystem::exists(current / MachineName(component), error)) {
      current /= MachineName(component);
      continue;
    }
    const std::string* match = nullptr;
    for (const auto& name : Listing(current)) {
      if (SameName(component, name)) {
        match = &name;
        break;
      }
    }
    if (match == nullptr) return std::nullopt;
    current /= std::filesystem::u8path(*match);
  }
  return current;
}

std::optional<std::filesystem::path> DiscFolder::Locate(const std::string& path) const {
  const auto components = Components(path);
  if (!components) return std::nullopt;
  return Find(*components);
}

bool DiscFolder::IsFile(const std::string& path) const {
  const auto found = Locate(path);
  std::error_code error;
  return found && std::filesystem::is_regular_file(*found, error);
}

bool DiscFolder::Resolve(std::string& path) const {
  // An empty path names the current directory, as "." does.
  if (path.size() > kMaxPathLength) return false;
  std::error_code error;
  // A path that leaves the disc may still have a directory part on it: "\\\\x" is a share's name, but its
  // directory part "\\" is the root.
  const auto whole = Components(path);
  if (const auto found = whole ? Find(*whole) : std::nullopt;
      found && std::filesystem::is_directory(*found, error)) {
    path = Join(*whole);
    return true;
  }
  const std::size_t slash = path.rfind('\\');
  const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  // An empty directory part ("\prog.txt") cannot be entered, so the browser keeps such a path as written.
  if (directory.empty()) return false;
  auto components = Components(directory);
  if (!components) return false;
  const auto folder = Find(*components);
  if (!folder || !std::filesystem::is_directory(*folder, error)) return false;
  if (!name.empty()) components->push_back(name);
  std::string resolved = Join(*components);
  if (resolved.size() + kDriveRootLength > kMaxPathLength) return false;
  path = std::move(resolved);
  return true;
}

std::optional<DiscFolder::Fault> DiscFolder::FileFault(const std::string& path) const {
  const auto native = Locate(path);
  if (!native) return std::nullopt;
  for (const auto& name : native->lexically_relative(root_)) {
    if (const auto why = WhyWindowsCannotOpen(DecodeUtf8(name.u8string()).codes))
      return Fault{FindingCode::kNameWindowsCannotOpen, *why};
  }
  std::error_code error;
  const auto real = std::filesystem::canonical(*native, error);
  if (error) return Fault{FindingCode::kLinkNowhere, "cannot be read: the link leads nowhere"};
  const auto inside = real.lexically_relative(realRoot_);
  if (inside.empty() || *inside.begin() == "..")
    return Fault{FindingCode::kLinkOutside, "the link leads out of the folder, off the disc"};
  const auto status = std::filesystem::status(real, error);
  if (std::filesystem::is_directory(status))
    return Fault{FindingCode::kFolderNotFile, "is a folder, where the browser opens a file"};
  if (!std::filesystem::is_regular_file(status))
    return Fault{FindingCode::kNotFileOrFolder, "is neither a file nor a folder (a pipe, device or socket)"};
  return std::nullopt;
}
