#pragma once

#include <ostream>
#include <string>
#include <vector>

// The help compiler for disc authors: one help source in, Windows help (.hlp) and HTML help (.chm) out.
// `chmCompiler` is the program that compiles the .chm. Returns 0 when everything asked for was written, 2
// when the source has faults or a file could not be written; then no output file is left half written.
int RunHelpCompiler(const std::vector<std::string>& arguments, const std::string& chmCompiler,
                    std::ostream& out, std::ostream& err);
