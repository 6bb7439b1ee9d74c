#include "tools/pack/disc_pack.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
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
#include "tools/check/disc_folder.h"
#include "tools/output/safe_output.h"

namespace fs = std::filesystem;
using Severity = Finding::Severity;
using Code = FindingCode;

namespace {

constexpr const char* kProgramName = "tamo_cd.exe";
constexpr const char* kAutorunName = "autorun.inf";
constexpr const char* kSettingsName = "tamo_cd.ini";

// The autorun file of a disc whose folder has none. Besides the program and its icon: the name Explorer gives
// the drive (label) and the line of the AutoPlay dialog of Windows Vista and later (action), one text in both
// languages, in code page 1250 as every text of the disc.
std::string Autorun() {
  const std::string title =
      CodePage1250FromUtf8(u8"Tamo CD \u2013 katalog program\u00f3w / katalog program\u016f");
  return "[autorun]\r\nopen=tamo_cd.exe\r\nicon=tamo_cd.exe\r\nlabel=" + title + "\r\naction=" + title +
         "\r\n";
}

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
    WalkFolder(root_, "", 0, {root_});
  }

  void Error(Code code, const std::string& path, const std::string& text, long long line = 0) {
    plan_.findings.push_back({Severity::kError, code, DiscForm(path), line, text});
  }

 private:
  // `units`: the path's length in Joliet, in UTF-16 units, counting a separator before each name.
  void WalkFolder(const fs::path& folder, const std::string& path, std::size_t units,
                  std::set<fs::path> above) {
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
      const auto nameUnits = CheckName(name, inImage);
      if (!nameUnits) continue;
      // Joliet, the tree Windows reads, holds no path longer than this; a deeper file would be left out.
      if (units + 1 + *nameUnits > kMaxJolietPath) {
        Error(Code::kPathTooDeep, inImage,
              "the path is " + std::to_string(units + 1 + *nameUnits) +
                  " characters long on the disc (with its leading \\); Joliet holds at most " +
                  std::to_string(kMaxJolietPath));
        continue;
      }
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
        WalkFolder(target, inImage, units + 1 + *nameUnits, below);
      } else if (fs::is_regular_file(status)) {
        if (!std::ifstream(target, std::ios::binary)) {
          Error(Code::kUnreadable, inImage, std::string("cannot be read (") + std::strerror(errno) + ")");
          continue;
        }
        // ISO 9660 gives a file's size in 32 bits; a larger file takes several extents, which not every
        // system reads.
        if (const auto size = fs::file_size(target, error); !error && size > kMaxFileSize) {
          Error(Code::kFileTooLarge, inImage,
                "is " + std::to_string(size) + " bytes long; a file on the disc holds at most " +
                    std::to_string(kMaxFileSize) + " (4 GiB less one byte)");
          continue;
        }
        plan_.contents.files.push_back({inImage, target, std::nullopt});
      } else {
        Error(Code::kNotFileOrFolder, inImage, "is neither a file nor a folder");
      }
    }
  }

  // Whether Joliet, and so Windows, can hold the name as it is; its length in Joliet when it can.
  std::optional<std::size_t> CheckName(const std::string& name, const std::string& inImage) {
    const DecodedUtf8 decoded = DecodeUtf8(name);
    const std::u32string* codes = &decoded.codes;
    if (!decoded.valid) {
      Error(Code::kNameNotUtf8, inImage, "the name is not in UTF-8, so its characters are unknown");
      return std::nullopt;
    }
    for (const char32_t code : *codes) {
      if (code < 0x20 || std::u32string(U"*:;?\\<>\"|").find(code) != std::u32string::npos) {
        Error(Code::kBadNameCharacter, inImage,
              "the name holds " + CodePointName(code) + ", which Windows names cannot");
        return std::nullopt;
      }
      // Joliet names are UCS-2: one 16-bit unit a character, with no room for surrogate pairs.
      if (code >= 0x10000) {
        Error(Code::kNameBeyondBmp, inImage,
              "the name holds " + CodePointName(code) + " \"" + Utf8(code) +
                  "\", which Joliet cannot (only characters up to U+FFFF)");
        return std::nullopt;
      }
    }
    if (const auto why = WhyWindowsCannotOpen(*codes)) {
      Error(Code::kNameWindowsCannotOpen, inImage, *why);
      return std::nullopt;
    }
    if (codes->size() > kMaxJolietName) {
      Error(Code::kNameTooLong, inImage,
            "the name is " + std::to_string(codes->size()) + " characters long; Joliet holds at most " +
                std::to_string(kMaxJolietName));
      return std::nullopt;
    }
    return codes->size();
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

// Where the files lie on a CD decides how long the browser takes to start: every seek of a drive costs about
// a tenth of a second, and the load reads a description file per program. The files are laid out in the
// order they are read: autorun.inf and the program, the settings file, both category files, the program
// list, then the Polish description files in program-list order, then the Czech ones; everything else after
// them. Each language's descriptions lie together, so that either load reads them in one run: the Polish
// load without a gap, the Czech one after a single jump. (Each program's two descriptions side by side
// would make either load skip a block for every program.)
template <class ImagePath>
void LayOut(const CheckReport& report, const fs::path& folder, const ImagePath& imagePath,
            ImageContents& contents) {
  const DiscFolder disc(folder);
  const auto inImage = [&](const std::string& path) {
    const auto native = disc.Locate(path);
    return native ? imagePath(*native) : std::string();
  };
  const std::vector<std::string>& polish = report.loadOrder.polish;
  const std::vector<std::string>& czech = report.loadOrder.czech;
  std::vector<std::string> order{kAutorunName, kProgramName, inImage(kSettingsName)};
  for (const auto* load : {&polish, &czech}) {
    if (!load->empty()) order.push_back(inImage(load->front()));
  }
  for (const auto* load : {&polish, &czech}) {
    if (load->size() > 1) order.push_back(inImage((*load)[1]));
  }
  for (const auto* load : {&polish, &czech}) {
    for (std::size_t i = 2; i < load->size(); ++i) order.push_back(inImage((*load)[i]));
  }
  std::map<std::string, int> weight;
  for (const auto& path : order) {
    if (!path.empty()) weight.emplace(path, static_cast<int>(order.size() - weight.size()));
  }
  for (auto& file : contents.files) {
    // The files the packer adds are named in any case the folder's own would match.
    auto found = weight.find(file.path);
    if (found == weight.end() && SameMachineName(file.path, kAutorunName)) found = weight.find(kAutorunName);
    if (found == weight.end() && SameMachineName(file.path, kProgramName)) found = weight.find(kProgramName);
    if (found != weight.end()) file.sortWeight = found->second;
  }
}

bool HasErrors(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.severity == Severity::kError; });
}

PackPlan Sorted(PackPlan plan) {
  SortByPlace(plan.findings);
  return plan;
}

}  // namespace

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
  // The checker names the file below the folder as given, perhaps through a link the image holds as a
  // folder of its own: the path below the folder is where it lies in the image.
  const auto imagePath = [&](const fs::path& native) {
    std::string inImage = native.generic_string().substr(request.folder.generic_string().size());
    inImage.erase(0, inImage.find_first_not_of('/'));
    return inImage;
  };
  const TextSource convert = [&](const fs::path& native,
                                 const std::string& file) -> std::optional<std::string> {
    const std::string inImage = imagePath(native);
    if (const auto done = converted.find(inImage); done != converted.end()) return done->second;
    // A folder where the file should be cannot be opened as one.
    if (std::error_code ignored; !fs::is_regular_file(native, ignored)) return std::nullopt;
    std::ifstream in(native, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return converted[inImage] = ToCodePage1250(bytes, file, request.from, conversionFindings);
  };
  // Entries first: a FIFO, a device or a link out of the folder is named before any file is read, so that
  // nothing hangs on a pipe or reads a device or a file elsewhere.
  Planner planner(plan);
  planner.Walk(request.folder);
  if (HasErrors(plan.findings)) return Sorted(std::move(plan));

  const CheckReport report = CheckDisc(request.folder, false, convert);
  plan.findings.insert(plan.findings.end(), report.findings.begin(), report.findings.end());
  plan.findings.insert(plan.findings.end(), conversionFindings.begin(), conversionFindings.end());
  if (HasErrors(plan.findings)) return Sorted(std::move(plan));

  for (auto& file : plan.contents.files) {
    if (const auto text = converted.find(file.path); text != converted.end()) file.contents = text->second;
  }

  // A folder at the root by the name of a file the disc needs (USB "vaccine" tools make an AUTORUN.INF
  // folder) would stand beside that file under one name for Windows.
  for (const auto& folder : plan.contents.folders) {
    for (const char* needed : {kProgramName, kAutorunName}) {
      if (SameMachineName(folder, needed)) {
        planner.Error(Code::kNameClash, folder,
                      std::string("is a folder, where the disc needs the file ") + needed +
                          "; Windows would see one name");
      }
    }
  }

  bool programMissing = false;
  if (FindAtRoot(plan.contents, kProgramName) == nullptr) {
    programMissing = true;
    if (request.program.empty()) {
      planner.Error(Code::kNoProgram, kProgramName, "the folder has no program; name it with --program");
    } else if (std::error_code ignored; !fs::is_regular_file(request.program, ignored)) {
      plan.findings.push_back({Severity::kError, Code::kProgramNotFile, request.program.string(), 0,
                               fs::exists(request.program, ignored)
                                   ? "is not a file; --program names the program file to put on the disc"
                                   : "cannot be read (No such file or directory)"});
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
    plan.contents.files.push_back({kAutorunName, {}, Autorun()});
  }

  LayOut(report, request.folder, imagePath, plan.contents);
  plan.contents.volumeLabel = VolumeLabel(request.label.empty() ? root.filename().string() : request.label);
  if (!request.label.empty()) {
    std::string upper = request.label;
    for (char& c : upper) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    if (upper != plan.contents.volumeLabel) {
      plan.findings.push_back({Severity::kWarning, Code::kLabelChanged, "--label", 0,
                               "the volume label \"" + request.label + "\" becomes " +
                                   plan.contents.volumeLabel +
                                   ": ISO 9660 labels hold only A to Z, 0 to 9 and _, at most 32 of them"});
    }
  }
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
      // Compared a chunk at a time, so that a file of any size takes no more memory than two chunks.
      const std::string* given = meant->second->contents ? &*meant->second->contents : nullptr;
      std::ifstream source;
      if (given == nullptr) source.open(meant->second->source, std::ios::binary);
      files.erase(meant);
      constexpr std::size_t kChunk = 1 << 16;
      std::vector<char> actual(kChunk);
      std::vector<char> expected(kChunk);
      std::size_t offset = 0;
      bool same = given != nullptr || source.is_open();
      for (long count; (count = read(actual.data(), kChunk)) != 0;) {
        if (count < 0) {
          differences.push_back(tree + ": file " + path + " cannot be read back");
          return;
        }
        const auto size = static_cast<std::size_t>(count);
        if (same && given != nullptr) {
          same = offset + size <= given->size() && given->compare(offset, size, actual.data(), size) == 0;
        } else if (same) {
          source.read(expected.data(), count);
          same = source.gcount() == count && std::memcmp(expected.data(), actual.data(), size) == 0;
        }
        offset += size;
      }
      // Nothing of what was meant is left over.
      if (same)
        same =
            given != nullptr ? offset == given->size() : source.peek() == std::ifstream::traits_type::eof();
      if (!same) differences.push_back(tree + ": file " + path + " differs from what was meant");
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

// The last second ISO 9660 folder and file records can hold.
constexpr std::int64_t kLastTimestamp = 5869583999;

constexpr const char* kUsage =
    "usage: tamo_pack [--from utf-8|cp1250] [--label LABEL] [--program FILE] DISC-FOLDER IMAGE.iso\n"
    "  --from ENCODING  the encoding of the catalogue's text in the folder: utf-8 (the default) or cp1250;\n"
    "                   a file with a byte order mark (UTF-8, or UTF-16 as Notepad's \"Unicode\") is read "
    "as\n"
    "                   the mark says\n"
    "  --label LABEL    the volume label (default: the folder's name), made valid for ISO 9660\n"
    "  --program FILE   the program to put at the root when the folder has no tamo_cd.exe\n"
    "With SOURCE_DATE_EPOCH set (seconds since 1970), every time stamp of the image is that time, and the "
    "same\n"
    "folder always makes the same image.\n";

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
    if (argument == "--from" && i + 1 < arguments.size()) {
      const auto from = EncodingNamed(arguments[++i]);
      if (!from) {
        errors << "--from: error: \"" << PrintableUtf8(arguments[i]) << "\" is not utf-8 or cp1250\n";
        return 2;
      }
      request.from = *from;
    } else if ((argument == "--label" || argument == "--program") && i + 1 < arguments.size()) {
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
    errors << PrintableUtf8(request.folder.string()) << ": error: not a folder\n";
    return 2;
  }
  // An image inside the folder would go onto the next image made of it, or replace one of its files.
  if (LiesInside(target, request.folder)) {
    errors << FormatFinding({Severity::kError, Code::kOutputInsideInput, target.string(), 0,
                             "lies inside the folder " + request.folder.string() +
                                 ", which the image is made of; write it elsewhere"})
           << "\n";
    out << "nothing written\n";
    return 2;
  }
  if (fs::is_directory(target, error)) {
    errors << PrintableUtf8(target.string()) << ": error: is a folder; name the image file to write\n";
    out << "nothing written\n";
    return 2;
  }

  // The reproducible-builds convention: one time for every time stamp, so that the same folder always makes
  // the same image. The folders' and files' times in ISO 9660 reach the year 2155.
  std::optional<std::int64_t> timestamp;
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
    const std::string text = epoch;
    const bool digits = text.size() <= 10 && text.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || std::stoll(text) > kLastTimestamp) {
      errors << "SOURCE_DATE_EPOCH: error: \"" << text << "\" is not a number of seconds since 1970 up to "
             << kLastTimestamp << " (the end of 2155)\n";
      out << "nothing written\n";
      return 2;
    }
    timestamp = std::stoll(text);
  }

  PackPlan plan = PlanImage(request);
  plan.contents.timestamp = timestamp;
  PrintSummary(plan.findings, out);
  if (HasErrors(plan.findings)) {
    out << "nothing written\n";
    return 2;
  }

  // Written beside the target and renamed only once read back whole, so that a failure, an exception or a
  // signal leaves neither half an image nor a broken older one in its place.
  std::string reason;
  auto temporary = TemporaryFile::Create(target, reason);
  std::vector<std::string> problems;
  if (!temporary) {
    problems.push_back(reason);
  } else if (const auto failure = WriteImage(plan.contents, temporary->descriptor(), target.string())) {
    problems.push_back(*failure);
  } else if (!temporary->Close(reason)) {
    problems.push_back(reason);
  } else {
    problems = CompareImage(plan.contents, temporary->path());
    if (problems.empty() && !PublishAll({&*temporary}, reason)) problems.push_back(reason);
  }
  if (!problems.empty()) {
    for (const auto& problem : problems)
      errors << PrintableUtf8(target.string() + ": error: " + problem) << '\n';
    out << "nothing written\n";
    return 2;
  }
  out << "wrote " << target.string() << " (volume " << plan.contents.volumeLabel << ", "
      << plan.contents.folders.size() << " folders, " << plan.contents.files.size()
      << " files, each read back and compared)\n";
  return plan.findings.empty() ? 0 : 1;
}
