#include "ui/main/command_lines.h"

std::string QuoteArgument(const std::string& path) {
  if (path.find(' ') == std::string::npos) return path;
  std::size_t trailing = 0;
  while (trailing < path.size() && path[path.size() - 1 - trailing] == '\\') ++trailing;
  return "\"" + path + std::string(trailing, '\\') + "\"";
}

CopyCommand BuildCopyCommand(const std::string& directory, const std::string& destination,
                             std::string& command, std::string& target) {
  target = destination;
  if (target.empty()) return CopyCommand::kEmptyDestination;
  if (target.back() != '\\') target += '\\';
  const std::size_t slash = directory.rfind('\\');
  if (slash != std::string::npos) target += directory.substr(slash + 1);
  if (target.size() > kMaxPathLength) return CopyCommand::kDestinationTooLong;
  command = "xcopy " + QuoteArgument(directory) + " " + QuoteArgument(target) + "\\ /E /C /F";
  return CopyCommand::kReady;
}

std::string BuildHelpCommand(const std::string& helpFile) { return "winhelp " + QuoteArgument(helpFile); }
