#pragma once

#include <string>

#include "catalog/catalog_model.h"
#include "catalog/load_sink.h"
#include "disc/text_file.h"

// Reads an open category file to its end into a table that already holds the root, reporting every problem
// and every header stored to the sink. Returns false when the sink stops the reading at a problem; the
// categories stored before it stay in the table. Where the sink reads on, a header with a bad number is
// dropped together with its description, a line without semicolons alone.
bool ReadCategoryFile(TextFile& file, const std::string& path, CategoryTable& table, LoadSink& sink);
