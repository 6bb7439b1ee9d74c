#include "tools/pack/disc_pack.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <system_error>

#include "disc/code_page.h"
#include "disc/ini_file.h"
#include "disc/names.h"

namespace fs = std::filesystem;
using Severity = Finding::Severity;
using Code = FindingCode;

namespace {

constexpr const char* kProgramName = "tamo_cd.exe";
constexpr const char* kAutorunName = "autorun.inf";
constexpr const char* kAutorun = "[autorun]\r\nopen=tamo_cd.exe\r\nicon=tamo_cd.exe\r\n";

// Two names of this machine, both UTF-8, as Windows would match them on the disc.
bool SameMachineName(const std::string& a, const std::string& b) {
  return SameName(DecodeUtf8(a).codes, DecodeUtf8(b).codes);
}

// The disc's form of a path, as the checker's findings write it.
std::string DiscForm(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

class Planner {
 public:
  explicit Planner(PackPlan& plan) : plan_(plan) {}

  void Walk(const fs::path& root) {
    std::error_code error;
    root_ = fs::canonical(root, error);
    WalkFolder(root_, "", {root_});
  }

  void Error(Code code, const std::string& path, const std::string& text, long long line = 0) {
    plan_.findings.push_back({Severity::kError, code, DiscForm(path), line, text});
  }

 private:
  void WalkFolder(const fs::path& folder, const std::string& path, std::set<fs::path> above) {
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      entries.push_back(*it);
    }
    if (error)
      return Error(Code::kUnreadable, path.empty() ? "." : path, "cannot be read (" + error.message() + ")");
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
    std::vector<std::string> names;
    for (const auto& entry : entries) {
      const std::string name = entry.path().filename().string();
      const std::string inImage = path.empty() ? name : path + "/" + name;
      if (!CheckName(name, inImage)) continue;
      for (const auto& other : names) {
        if (SameMachineName(other, name)) {
          Error(Code::kNamesDifferInCase, inImage,
                "differs from " + other + " only in case; Windows would see one name");
        }
      }
      names.push_back(name);

      fs::path target = entry.path();
      if (entry.is_symlink(error)) {
        target = fs::canonical(entry.path(), error);
        if (error) {
          Error(Code::kLinkNowhere, inImage, "cannot be read: the link leads nowhere");
          continue;
        }
        const auto inside = target.lexically_relative(root_);
        if (inside.empty() || *inside.begin() == "..") {
          Error(Code::kLinkOutside, inImage, "the link leads out of the folder");
          continue;
        }
      }
      const auto status = fs::status(target, error);
      if (fs::is_directory(status)) {
        if (above.count(target) != 0) {
          Error(Code::kLinkLoop, inImage, "the link leads back to a folder holding it");
          continue;
        }
        plan_.contents.folders.push_back(inImage);
        auto below = above;
        below.insert(target);
        WalkFolder(target, inImage, below);
      } else if (fs::is_regular_file(status)) {
        if (!std::ifstream(target, std::ios::binary)) {
          Error(Code::kUnreadable, inImage, std::string("cannot be read (") + std::strerror(errno) + ")");
          continue;
        }
        plan_.contents.files.push_back({inImage, target, std::nullopt});
      } else {
        Error(Code::kNotFileOrFolder, inImage, "is neither a file nor a folder");
      }
    }
  }

  // Whether Joliet, and so Windows, can hold the name as it is.
  bool CheckName(const std::string& name, const std::string& inImage) {
    const DecodedUtf8 decoded = DecodeUtf8(name);
    if (!decoded.valid) {
      Error(Code::kNameNotUtf8, inImage, "the name is not in UTF-8, so its characters are unknown");
      return false;
    }
    std::size_t units = 0;
    for (const char32_t code : decoded.codes) {
      units += code >= 0x10000 ? 2 : 1;
      if (code < 0x20 || std::u32string(U"*:;?\\<>\"|").find(code) != std::u32string::npos) {
        Error(Code::kBadNameCharacter, inImage,
              "the name holds " + CodePointName(code) + ", which Windows names cannot");
        return false;
      }
    }
    if (units > kMaxJolietName) {
      Error(Code::kNameTooLong, inImage,
            "the name is " + std::to_string(units) + " characters long; Joliet holds at most " +
                std::to_string(kMaxJolietName));
      return false;
    }
    return true;
  }

  PackPlan& plan_;
  fs::path root_;
};

ImageFile* FindAtRoot(ImageContents& contents, const std::string& name) {
  for (auto& file : contents.files) {
    if (SameMachineName(file.path, name)) return &file;
  }
  return nullptr;
}

// An author's autorun file must open a program the image holds. Windows reads it as it reads any INI file,
// and starts the command line of open= in its [autorun] section: the program is the whole value when that
// names a file, else its quoted first word, else the text up to the first blank.
void CheckAutorun(const ImageFile& autorun, const ImageContents& contents, Planner& planner) {
  IniFile file;
  if (!file.Load(autorun.source.string())) {
    planner.Error(Code::kUnreadable, autorun.path, "cannot be read");
    return;
  }
  const IniFile::Value open = file.Get("autorun", "open", "");
  if (open.line == 0) {
    planner.Error(Code::kAutorunNoOpen, autorun.path,
                  "opens no program: it has no open= line in its [autorun] section");
    return;
  }
  // The value is the disc's text, in code page 1250; the image's names are this machine's.
  const auto onDisc = [&](std::string program) {
    std::replace(program.begin(), program.end(), '\\', '/');
    if (!program.empty() && program[0] == '/') program.erase(0, 1);
    return !program.empty() && std::any_of(contents.files.begin(), contents.files.end(),
                                           [&](const ImageFile& f) { return SameName(program, f.path); });
  };
  std::string program = open.text;
  if (!onDisc(program)) {
    if (!program.empty() && program[0] == '"') {
      program = program.substr(1, program.find('"', 1) - 1);
    } else {
      program = program.substr(0, program.find(' '));
    }
    if (!onDisc(program)) {
      planner.Error(Code::kAutorunNoProgram, autorun.path,
                    "opens " + DiscForm(Utf8FromCodePage1250(program)) + ", which is not on the disc",
                    open.line);
    }
  }
}

bool HasErrors(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.severity == Severity::kError; });
}

PackPlan Sorted(PackPlan plan) {
  std::stable_sort(plan.findings.begin(), plan.findings.end(), [](const Finding& a, const Finding& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
  return plan;
}

}  // namespace

std::string ToCodePage1250(const std::string& bytes, const std::string& file,
                           std::vector<Finding>& findings) {
  std::string text = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? bytes.substr(3) : bytes;
  const DecodedUtf8 decoded = DecodeUtf8(text);
  if (!decoded.valid) return text;
  long long line = 1;
  long long lastReported = 0;
  for (const char32_t code : decoded.codes) {
    if (!InCodePage1250(code) && lastReported != line) {
      findings.push_back(
          {Severity::kError, Code::kNotInCodePage, Utf8FromCodePage1250(file), line,
           "the character " + CodePointName(code) + " \"" + Utf8(code) + "\" has no code in code page 1250"});
      lastReported = line;
    }
    if (code == '\n') ++line;
  }
  return EncodeCodePage1250(decoded.codes);
}

std::string VolumeLabel(const std::string& name) {
  std::string label;
  // One '_' for each character other than these, however many bytes it takes.
  for (const char32_t c : DecodeUtf8(name).codes) {
    if (label.size() == 32) break;
    if (c >= 'a' && c <= 'z') {
      label += static_cast<char>(c - 32);
    } else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      label += static_cast<char>(c);
    } else {
      label += '_';
    }
  }
  return label.empty() ? "TAMO_CD" : label;
}

PackPlan PlanImage(const PackRequest& request) {
  PackPlan plan;
  std::error_code error;
  const fs::path root = fs::canonical(request.folder, error);
  // Each text file the load reads, by where it lies in the image, as it goes on the disc; the checker reads
  // them in that form, so that what it finds holds for the disc.
  std::map<std::string, std::string> converted;
  std::vector<Finding> conversionFindings;
  const TextSource convert = [&](const fs::path& native,
                                 const std::string& file) -> std::optional<std::string> {
    // The checker names the file below the folder as given, perhaps through a link the image holds as a
    // folder of its own: the path below the folder is where it lies in the image.
    std::string inImage = native.generic_string().substr(request.folder.generic_string().size());
    inImage.erase(0, inImage.find_first_not_of('/'));
    if (const auto done = converted.find(inImage); done != converted.end()) return done->second;
    std::ifstream in(native, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return converted[inImage] = ToCodePage1250(bytes, file, conversionFindings);
  };
  const CheckReport report = CheckDisc(request.folder, false, convert);
  plan.findings = report.findings;
  plan.findings.insert(plan.findings.end(), conversionFindings.begin(), conversionFindings.end());
  if (HasErrors(plan.findings)) return Sorted(std::move(plan));

  Planner planner(plan);
  planner.Walk(request.folder);
  for (auto& file : plan.contents.files) {
    if (const auto text = converted.find(file.path); text != converted.end()) file.contents = text->second;
  }

  bool programMissing = false;
  if (FindAtRoot(plan.contents, kProgramName) == nullptr) {
    programMissing = true;
    if (request.program.empty()) {
      planner.Error(Code::kNoProgram, kProgramName, "the folder has no program; name it with --program");
    } else if (!std::ifstream(request.program, std::ios::binary)) {
      plan.findings.push_back({Severity::kError, Code::kUnreadable, request.program.string(), 0,
                               std::string("cannot be read (") + std::strerror(errno) + ")"});
    } else {
      // The image is written from absolute paths: a relative one would be looked up elsewhere.
      std::error_code ignored;
      plan.contents.files.push_back(
          {kProgramName, std::filesystem::absolute(request.program, ignored), std::nullopt});
      programMissing = false;
    }
  }
  if (const ImageFile* autorun = FindAtRoot(plan.contents, kAutorunName)) {
    // Without the program an autorun file naming it would only repeat that error.
    if (!programMissing) CheckAutorun(*autorun, plan.contents, planner);
  } else {
    plan.contents.files.push_back({kAutorunName, {}, std::string(kAutorun)});
  }

  plan.contents.volumeLabel = VolumeLabel(request.label.empty() ? root.filename().string() : request.label);
  return Sorted(std::move(plan));
}

std::vector<std::string> CompareImage(const ImageContents& planned, const fs::path& image) {
  std::vector<std::string> differences;
  for (const bool joliet : {true, false}) {
    const std::string tree = joliet ? "Joliet" : "Rock Ridge";
    std::set<std::string> folders(planned.folders.begin(), planned.folders.end());
    std::map<std::string, const ImageFile*> files;
    for (const auto& file : planned.files) files[file.path] = &file;

    const auto visit = [&](const std::string& path, bool isFolder, const ReadChunk& read) {
      if (isFolder) {
        if (folders.erase(path) == 0)
          differences.push_back(tree + ": folder " + path + " was not meant to be there");
        return;
      }
      const auto meant = files.find(path);
      if (meant == files.end()) {
        differences.push_back(tree + ": file " + path + " was not meant to be there");
        return;
      }
      std::string expected;
      if (meant->second->contents) {
        expected = *meant->second->contents;
      } else {
        std::ifstream in(meant->second->source, std::ios::binary);
        expected.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      }
      files.erase(meant);
      std::string actual;
      char buffer[65536];
      for (long count; (count = read(buffer, sizeof buffer)) != 0;) {
        if (count < 0) {
          differences.push_back(tree + ": file " + path + " cannot be read back");
          return;
        }
        actual.append(buffer, static_cast<std::size_t>(count));
      }
      if (actual != expected) differences.push_back(tree + ": file " + path + " differs from what was meant");
    };
    if (const auto failure = ReadImage(image, joliet, visit)) {
      differences.push_back(tree + ": " + *failure);
      continue;
    }
    for (const auto& folder : folders) differences.push_back(tree + ": folder " + folder + " is missing");
    for (const auto& [path, file] : files) differences.push_back(tree + ": file " + path + " is missing");
  }
  return differences;
}

namespace {

constexpr const char* kUsage =
    "usage: tamo_pack [--label LABEL] [--program FILE] DISC-FOLDER IMAGE.iso\n"
    "  --label LABEL   the volume label (default: the folder's name), made valid for ISO 9660\n"
    "  --program FILE  the program to put at the root when the folder has no tamo_cd.exe\n";

void PrintSummary(const std::vector<Finding>& findings, std::ostream& out) {
  for (const auto& finding : findings) out << FormatFinding(finding) << '\n';
  const auto errorCount = std::count_if(findings.begin(), findings.end(),
                                        [](const Finding& f) { return f.severity == Severity::kError; });
  const auto warningCount = static_cast<long>(findings.size()) - errorCount;
  out << errorCount << (errorCount == 1 ? " error, " : " errors, ") << warningCount
      << (warningCount == 1 ? " warning" : " warnings") << '\n';
}

}  // namespace

int RunPacker(const std::vector<std::string>& arguments, const fs::path& defaultProgram, std::ostream& out,
              std::ostream& errors) {
  PackRequest request;
  request.program = defaultProgram;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      out << kUsage;
      return 0;
    }
    if ((argument == "--label" || argument == "--program") && i + 1 < arguments.size()) {
      if (argument == "--label") {
        request.label = arguments[++i];
      } else {
        request.program = arguments[++i];
      }
    } else if (!argument.empty() && argument[0] == '-') {
      errors << kUsage;
      return 2;
    } else {
      positional.push_back(argument);
    }
  }
  if (positional.size() != 2) {
    errors << kUsage;
    return 2;
  }
  request.folder = positional[0];
  const fs::path target = positional[1];
  std::error_code error;
  if (!fs::is_directory(request.folder, error)) {
    errors << request.folder.string() << ": error: not a folder\n";
    return 2;
  }

  const PackPlan plan = PlanImage(request);
  PrintSummary(plan.findings, out);
  if (HasErrors(plan.findings)) {
    out << "nothing written\n";
    return 2;
  }

  // Written beside the target and renamed only once read back whole, so that a failure leaves neither half an
  // image nor a broken older one in its place.
  std::string temporary = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  if (target.parent_path().empty()) temporary = "." + target.filename().string() + ".XXXXXX";
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) {
    errors << target.string() << ": error: " << std::strerror(errno) << '\n';
    return 2;
  }
  // An image is for everyone to read, not private as a temporary file is made.
  fchmod(descriptor, 0644);
  close(descriptor);
  std::vector<std::string> problems;
  if (const auto failure = WriteImage(plan.contents, temporary)) {
    problems.push_back(*failure);
  } else {
    problems = CompareImage(plan.contents, temporary);
  }
  if (problems.empty()) {
    fs::rename(temporary, target, error);
    if (error) problems.push_back(target.string() + ": " + error.message());
  }
  if (!problems.empty()) {
    fs::remove(temporary, error);
    for (const auto& problem : problems) errors << target.string() << ": error: " << problem << '\n';
    out << "nothing written\n";
    return 2;
  }
  out << "wrote " << target.string() << " (volume " << plan.contents.volumeLabel << ", "
      << plan.contents.folders.size() << " folders, " << plan.contents.files.size()
      << " files, each read back and compared)\n";
  return plan.findings.empty() ? 0 : 1;
}
