#include "tools/help/help_compiler.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "tools/help/help_source.h"
#include "tools/help/html_help.h"
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

// Compiles the document's HTML help project with `compiler` (chmcmd) in a folder of its own beside the
// output, which goes with everything in it. What the compiler says (a banner, every time) is shown only when
// it fails.
bool WriteChm(const HelpDocument& document, const std::string& compiler, const std::string& path,
              std::ostream& err) {
  std::string folder = path + ".XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) {
    err << path << ": error: " << std::strerror(errno) << "\n";
    return false;
  }
  const auto files = HtmlHelpProject(document, "help.chm");
  bool written = true;
  for (const auto& [name, contents] : files) written = written && WriteWhole(folder + "/" + name, contents);
  if (!written) err << path << ": error: cannot be written\n";
  if (written) {
    const pid_t child = fork();
    if (child == 0) {
      if (chdir(folder.c_str()) == 0 && freopen("compiler.log", "w", stdout) != nullptr &&
          dup2(fileno(stdout), STDERR_FILENO) >= 0) {
        execlp(compiler.c_str(), compiler.c_str(), kHtmlHelpProjectFile, static_cast<char*>(nullptr));
      }
      std::printf("%s: %s\n", compiler.c_str(), std::strerror(errno));
      std::fflush(stdout);
      _exit(127);
    }
    int status = 0;
    written =
        child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const std::string chm = folder + "/help.chm";
    written = written && access(chm.c_str(), F_OK) == 0;
    if (!written) {
      std::string log;
      ReadWhole(folder + "/compiler.log", log);
      err << log << path << ": error: " << compiler
          << " did not write it (Free Pascal's CHM compiler, Debian's package fp-utils)\n";
    } else {
      written = Publish(chm, path, err);
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return written;
}

}  // namespace

int RunHelpCompiler(const std::vector<std::string>& arguments, const std::string& chmCompiler,
                    std::ostream& out, std::ostream& err) {
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
  if (!chmPath.empty() && !WriteChm(document, chmCompiler, chmPath, err)) return 2;
  return 0;
}
