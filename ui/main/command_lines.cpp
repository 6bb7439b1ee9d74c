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

std::string BuildHelpCommand(const std::string& helpFile) {
  const std::string extension = ".chm";
  bool compiledHtml = helpFile.size() >= extension.size();
  for (std::size_t i = 0; compiledHtml && i < extension.size(); ++i) {
    const char c = helpFile[helpFile.size() - extension.size() + i];
    compiledHtml = (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == extension[i];
  }
  return (compiledHtml ? "hh " : "winhelp ") + QuoteArgument(helpFile);
}
