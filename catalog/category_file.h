#pragma once

#include <string>

#include "catalog/catalog_model.h"
#include "catalog/load_diagnostics.h"
#include "framework/text_file.h"

struct ReadResult {
  bool ok;
  // On failure, the exact text to show the user.
  std::string message;
};

// Reads an open category file to its end into a table that already holds the root. Stops at the first error;
// the categories stored before it stay in the table. Shows nothing itself.
//
// With diagnostics, every error is reported there instead and reading goes on: a header with a bad number is
// dropped together with its description, a line without semicolons alone. The result is then a failure when
// any error was reported, with the first one's message.
ReadResult ReadCategoryFile(TextFile& file, const std::string& path, CategoryTable& table,
                            LoadDiagnostics* diagnostics = nullptr);
