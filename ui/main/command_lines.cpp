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

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// True when `text` ends in `extension` (written in lower case), in any case.
bool HasExtension(const std::string& text, const std::string& extension) {
  if (text.size() < extension.size()) return false;
  for (std::size_t i = 0; i < extension.size(); ++i) {
    if (Lower(text[text.size() - extension.size() + i]) != extension[i]) return false;
  }
  return true;
}

}  // namespace

std::string BuildHelpCommand(const std::string& helpFile) {
  return (HasExtension(helpFile, ".chm") ? "hh " : "winhelp ") + QuoteArgument(helpFile);
}

std::string CompiledHelpBeside(const std::string& helpFile) {
  if (!HasExtension(helpFile, ".hlp")) return std::string();
  std::string compiled = helpFile;
  const std::string chm = "chm";
  for (std::size_t i = 0; i < chm.size(); ++i) {
    char& c = compiled[compiled.size() - chm.size() + i];
    c = Lower(c) == c ? chm[i] : static_cast<char>(chm[i] - 'a' + 'A');
  }
  return compiled;
}
