#include "catalog/load_sink.h"

#include <utility>

#include "catalog/text_parsing.h"

LoadFinding FindingInLine(FindingCode code, const std::string& path, long long line, std::string reason,
                          bool stopsLoad) {
  const char* place = stopsLoad ? "Error in line nr %d in file %s\n" : "Warning in line nr %d in file %s\n";
  LoadFinding finding;
  finding.code = code;
  finding.file = path;
  finding.line = line;
  finding.stopsLoad = stopsLoad;
  finding.message = FillMessage(place, line, path) + reason;
  finding.reason = std::move(reason);
  return finding;
}
