#pragma once

#include <string>

#include "catalog/catalog_model.h"
#include "framework/text_file.h"

struct ReadResult {
  bool ok;
  // On failure, the exact text to show the user.
  std::string message;
};

// Reads an open category file to its end into a table that already holds the root. Stops at the first error;
// the categories stored before it stay in the table. Shows nothing itself.
ReadResult ReadCategoryFile(TextFile& file, const std::string& path, CategoryTable& table);
