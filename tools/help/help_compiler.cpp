#include "tools/help/help_compiler.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <utility>

#include "tools/help/help_source.h"
#include "tools/help/html_help.h"
#include "tools/help/winhelp_file.h"
#include "tools/output/safe_output.h"

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

bool WriteAll(int descriptor, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

std::string WithExtension(const std::string& path, const std::string& extension) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? path.substr(0, dot) : path) + extension;
}

// Compiles the document's HTML help project with `compiler` (chmcmd) in a work folder of its own beside the
// output, which goes with everything in it, and moves the result into `chm`. What the compiler says (a
// banner, every time) is shown only when it fails.
bool WriteChm(const HelpDocument& document, const std::string& compiler, const TemporaryFile& chm,
              std::ostream& err) {
  const std::string path = chm.target().string();
  std::string reason;
  const auto folder = TemporaryFolder::Create(chm.target(), reason);
  if (!folder) {
    err << path << ": error: " << reason << "\n";
    return false;
  }
  for (const auto& [name, contents] : HtmlHelpProject(document, "help.chm")) {
    if (!WriteWhole(folder->path() + "/" + name, contents)) {
      err << path << ": error: cannot be written\n";
      return false;
    }
  }
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(folder->path().c_str()) == 0 && freopen("compiler.log", "w", stdout) != nullptr &&
        dup2(fileno(stdout), STDERR_FILENO) >= 0) {
      execlp(compiler.c_str(), compiler.c_str(), kHtmlHelpProjectFile, static_cast<char*>(nullptr));
    }
    std::printf("%s: %s\n", compiler.c_str(), std::strerror(errno));
    std::fflush(stdout);
    _exit(127);
  }
  // A signal now stops the compiler before its folder is removed.
  SetChildProcess(child);
  int status = 0;
  bool written =
      child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  SetChildProcess(0);
  const std::string made = folder->path() + "/help.chm";
  written = written && access(made.c_str(), F_OK) == 0;
  if (!written) {
    std::string log;
    ReadWhole(folder->path() + "/compiler.log", log);
    err << log << path << ": error: " << compiler
        << " did not write it (Free Pascal's CHM compiler, Debian's package fp-utils)\n";
    return false;
  }
  // Into the temporary made for it beside the target, to be put in place with the .hlp file.
  if (std::rename(made.c_str(), chm.path().c_str()) != 0) {
    err << path << ": error: " << std::strerror(errno) << "\n";
    return false;
  }
  return true;
}

// Why an output may not be written where it is asked for, or nothing.
std::optional<std::string> OutputProblem(const std::string& output, const std::string& source,
                                         const std::string& other) {
  std::error_code error;
  if (SameFile(output, source)) return "is the help source itself; name another output";
  if (!other.empty() && SameFile(output, other)) return "is named for both --hlp and --chm";
  if (std::filesystem::is_directory(output, error)) return "is a folder; name the file to write";
  return std::nullopt;
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

  for (const auto& [output, other] : {std::pair{hlpPath, chmPath}, std::pair{chmPath, hlpPath}}) {
    if (output.empty()) continue;
    if (const auto problem = OutputProblem(output, sourcePath, other)) {
      err << output << ": error: " << *problem << "\n";
      return 2;
    }
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

  // Both files are made beside their targets first and put in place together, or neither is.
  std::optional<TemporaryFile> hlp;
  std::optional<TemporaryFile> chm;
  std::vector<TemporaryFile*> made;
  std::string reason;
  if (!hlpPath.empty()) {
    if (auto created = TemporaryFile::Create(hlpPath, reason)) hlp.emplace(std::move(*created));
    if (!hlp || !WriteAll(hlp->descriptor(), WriteWinHelp(document))) {
      err << hlpPath << ": error: cannot be written" << (hlp ? "" : " (" + reason + ")") << "\n";
      return 2;
    }
    made.push_back(&*hlp);
  }
  if (!chmPath.empty()) {
    if (auto created = TemporaryFile::Create(chmPath, reason)) chm.emplace(std::move(*created));
    if (!chm) {
      err << chmPath << ": error: cannot be written (" << reason << ")\n";
      return 2;
    }
    if (!WriteChm(document, chmCompiler, *chm, err)) return 2;
    made.push_back(&*chm);
  }
  if (!PublishAll(made, reason)) {
    err << reason << "\n";
    return 2;
  }
  return 0;
}
