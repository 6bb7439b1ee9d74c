#include "tools/help/help_compiler.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "tools/help/halibut_source.h"
#include "tools/help/help_source.h"
#include "tools/help/winhelp_file.h"

namespace {

constexpr char kUsage[] =
    "usage: tamo_help SOURCE [--hlp FILE] [--chm FILE]\n"
    "  Builds Windows help (.hlp, for winhelp) and HTML help (.chm, for hh) from a help source.\n"
    "  Without --hlp and --chm, writes both beside SOURCE, with its name.\n";

bool ReadWhole(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return !in.bad();
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  return static_cast<bool>(file);
}

// Writes next to the target and renames, so that a failed run never leaves a truncated help file behind.
bool Publish(const std::string& temporary, const std::string& path, std::ostream& err) {
  if (std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  err << path << ": error: " << std::strerror(errno) << "\n";
  std::remove(temporary.c_str());
  return false;
}

std::string WithExtension(const std::string& path, const std::string& extension) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? path.substr(0, dot) : path) + extension;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Runs halibut on the document, from a source written beside the output; its own messages go to the terminal
// as they are.
bool WriteChm(const HelpDocument& document, const std::string& halibut, const std::string& path,
              std::ostream& err) {
  const std::string source = path + ".but.part";
  const std::string temporary = path + ".part";
  bool written = WriteWhole(source, HalibutSource(document, BaseName(path)));
  if (!written) err << source << ": error: cannot be written\n";
  if (written) {
    const std::string chmOption = "--chm=" + temporary;
    const pid_t child = fork();
    if (child == 0) {
      execlp(halibut.c_str(), halibut.c_str(), chmOption.c_str(), source.c_str(),
             static_cast<char*>(nullptr));
      std::fprintf(stderr, "%s: %s\n", halibut.c_str(), std::strerror(errno));
      _exit(127);
    }
    int status = 0;
    written =
        child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!written) {
      err << path << ": error: " << halibut
          << " did not write it (Debian's package halibut writes HTML help)\n";
      std::remove(temporary.c_str());
    }
  }
  std::remove(source.c_str());
  return written && Publish(temporary, path, err);
}

}  // namespace

int RunHelpCompiler(const std::vector<std::string>& arguments, const std::string& halibut, std::ostream& out,
                    std::ostream& err) {
  std::string sourcePath;
  std::string hlpPath;
  std::string chmPath;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      out << kUsage;
      return 0;
    }
    if ((argument == "--hlp" || argument == "--chm") && i + 1 < arguments.size()) {
      (argument == "--hlp" ? hlpPath : chmPath) = arguments[++i];
    } else if (argument.empty() || argument[0] == '-' || !sourcePath.empty()) {
      err << kUsage;
      return 2;
    } else {
      sourcePath = argument;
    }
  }
  if (sourcePath.empty()) {
    err << kUsage;
    return 2;
  }
  if (hlpPath.empty() && chmPath.empty()) {
    hlpPath = WithExtension(sourcePath, ".hlp");
    chmPath = WithExtension(sourcePath, ".chm");
  }

  std::string text;
  if (!ReadWhole(sourcePath, text)) {
    err << sourcePath << ": error: " << std::strerror(errno) << "\n";
    return 2;
  }
  std::vector<std::string> errors;
  const HelpDocument document = ReadHelpSource(text, sourcePath, errors);
  for (const std::string& error : errors) err << error << "\n";
  if (!errors.empty()) return 2;

  if (!hlpPath.empty()) {
    const std::string temporary = hlpPath + ".part";
    if (!WriteWhole(temporary, WriteWinHelp(document))) {
      err << hlpPath << ": error: cannot be written\n";
      std::remove(temporary.c_str());
      return 2;
    }
    if (!Publish(temporary, hlpPath, err)) return 2;
  }
  if (!chmPath.empty() && !WriteChm(document, halibut, chmPath, err)) return 2;
  return 0;
}
