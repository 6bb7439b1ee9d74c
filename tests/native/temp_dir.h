#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <system_error>

// A private folder under the system's temporary directory, removed with everything in it.
class TempDir {
 public:
  // With files in it: relative name, written with either slash, to contents.
  explicit TempDir(const std::map<std::string, std::string>& files) : TempDir() {
    for (const auto& [relative, contents] : files) Write(relative, contents);
  }
  TempDir() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = base / ("catalog_test_" + std::to_string(random()));
      if (std::filesystem::create_directory(path_)) return;
    }
    throw std::runtime_error("cannot create a temporary folder");
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes bytes exactly as given (no newline translation) and returns the file's path. Folders in the name
  // may be separated by '\\' as on the disc.
  std::string Write(std::string relative, const std::string& contents) const {
    for (char& c : relative) {
      if (c == '\\') c = '/';
    }
    const auto file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << contents;
    return file.string();
  }

 private:
  std::filesystem::path path_;
};
