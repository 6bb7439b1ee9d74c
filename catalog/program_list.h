#pragma once

#include <string>

#include "catalog/catalog_model.h"
#include "catalog/load_diagnostics.h"
#include "catalog/load_host.h"
#include "framework/text_file.h"

// Reads an open program list into a table that already holds the categories, building one entry per block and
// testing its description file. Messages go to host.ShowMessage; an undefined category only warns and the
// block is dropped. Returns false at the first error, with the message shown. The list is closed before a
// message about its own format is shown; a failing description file is reported first and the list closed
// after. On success the list is left open for the caller to close.
//
// With diagnostics, nothing is shown: every problem, the undefined category included, is reported there and
// the reading goes on to the end of the list (a bad option line is skipped, a block with a bad category or a
// failing description file is dropped), each block is reported as read, and the result is false when any
// error was reported. The list is then always left open.
bool ReadProgramList(TextFile& file, const std::string& path, bool isPolish,
                     const std::string& defaultDescription, CategoryTable& table, LoadHost& host,
                     LoadDiagnostics* diagnostics = nullptr);
