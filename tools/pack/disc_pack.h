#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/check/disc_check.h"
#include "tools/pack/iso_image.h"

// Joliet's longest name, in UTF-16 units.
constexpr std::size_t kMaxJolietName = 64;
// Joliet's longest path, in UTF-16 units with a separator before each name (240 bytes).
constexpr std::size_t kMaxJolietPath = 120;
// The largest file ISO 9660 holds in one extent, its size being a 32-bit number.
constexpr std::uintmax_t kMaxFileSize = 0xFFFFFFFF;

// A volume label ISO 9660 accepts: upper-case letters, digits and '_', at most 32 of them.
std::string VolumeLabel(const std::string& name);

struct PackRequest {
  std::filesystem::path folder;
  // The program to put at the root when the folder has none; empty when there is none to put.
  std::filesystem::path program;
  // The folder's name when empty.
  std::string label;
  // The encoding of the catalogue's text in the folder.
  TextEncoding from = TextEncoding::kUtf8;
};

// Everything the image is to hold, with the findings that stop it from being written (and the checker's).
struct PackPlan {
  std::vector<Finding> findings;
  ImageContents contents;
};

// Checks the folder as the disc checker does and lays out the image, reading the folder but writing nothing.
PackPlan PlanImage(const PackRequest& request);

// Reads the image back through both its name trees and compares every folder and file with the plan; returns
// the differences.
std::vector<std::string> CompareImage(const ImageContents& planned, const std::filesystem::path& image);

// The whole command: arguments without the program name. Returns the exit code: 0 written, 1 written with
// warnings, 2 nothing written.
int RunPacker(const std::vector<std::string>& arguments, const std::filesystem::path& defaultProgram,
              std::ostream& out, std::ostream& errors);
