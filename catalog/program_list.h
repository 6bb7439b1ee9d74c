#pragma once

#include <string>

#include "catalog/catalog_model.h"
#include "catalog/disc_access.h"
#include "catalog/load_sink.h"
#include "disc/language.h"
#include "disc/text_file.h"

// Reads an open program list into a table that already holds the categories, building one entry per block and
// testing its description file; every problem and every block read goes to the sink; the files and paths come
// through `disc`. An undefined category drops its block. Returns false when the sink stops the reading at a
// problem: one in the list's own format closes the list first, one in a description file leaves it open (the
// browser shows that message before the list is closed). Otherwise the list is left open for the caller to
// close.
//
// Where the sink reads on, a bad option line is skipped, and a block with a bad category number or a failing
// description file is dropped.
bool ReadProgramList(TextFile& file, const std::string& path, Language language,
                     const std::string& defaultDescription, CategoryTable& table, DiscAccess& disc,
                     LoadSink& sink);
