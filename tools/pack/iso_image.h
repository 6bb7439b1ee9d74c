#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What goes into an image, written through libisofs: ISO 9660 with Rock Ridge and Joliet names.

struct ImageFile {
  // Relative to the image root, '/' between the components, in UTF-8 as the author wrote them.
  std::string path;
  // This machine's file to copy byte for byte, unless the contents are given.
  std::filesystem::path source;
  std::optional<std::string> contents;
  // Files of greater weight lie nearer the start of the image, in order of weight; 0 for the rest.
  int sortWeight = 0;
};

struct ImageContents {
  std::string volumeLabel;
  // The one time every time stamp of the image is given (seconds since 1970, UTC), so that the same contents
  // always make the same bytes; the time of writing when there is none.
  std::optional<std::int64_t> timestamp;
  // Parents before their children.
  std::vector<std::string> folders;
  std::vector<ImageFile> files;
};

// Writes the image to the open file `descriptor` (named `name` in messages); returns what went wrong, or
// nothing.
std::optional<std::string> WriteImage(const ImageContents& contents, int descriptor, const std::string& name);

// Reads up to the buffer's size into it; returns the count, 0 at the end, less than 0 on failure.
using ReadChunk = std::function<long(char* buffer, std::size_t size)>;

// Walks every folder and file of an image through one of its trees (Joliet, as Windows reads it, or Rock
// Ridge), parents before children. Returns what went wrong, or nothing.
std::optional<std::string> ReadImage(
    const std::filesystem::path& image, bool joliet,
    const std::function<void(const std::string& path, bool isFolder, const ReadChunk& read)>& visit);
