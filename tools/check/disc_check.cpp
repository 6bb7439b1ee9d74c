#include "tools/check/disc_check.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <system_error>
#include <utility>

#include "catalog/catalog_load.h"
#include "catalog/catalog_model.h"
#include "catalog/disc_access.h"
#include "catalog/load_sink.h"
#include "disc/code_page.h"
#include "disc/ini_file.h"
#include "disc/language.h"
#include "disc/path_limit.h"
#include "disc/settings_keys.h"
#include "disc/text_file.h"
#include "tools/check/disc_folder.h"

namespace {

using Severity = Finding::Severity;
using Code = FindingCode;

constexpr const char* kSettingsFile = kSettingsFileName;

// The browser's reason, its lines joined into one.
std::string OneLine(const std::string& reason) {
  std::string joined;
  for (char c : reason) {
    if (c == '\n') {
      joined += "; ";
    } else {
      joined += c;
    }
  }
  return joined;
}

// Whether the line holds text encoded as UTF-8: at least one multi-byte sequence, nothing that is not valid
// UTF-8, which 8-bit Central European text practically never is, and only characters the code page has, as
// Polish and Czech text has ("STÓŁ" in code page 1250 is valid UTF-8 too, for a Cyrillic letter).
bool LooksLikeUtf8(const std::string& line) {
  const DecodedUtf8 decoded = DecodeUtf8(line);
  return decoded.valid && decoded.codes.size() != line.size() &&
         std::all_of(decoded.codes.begin(), decoded.codes.end(), InCodePage1250);
}

bool StartsAsUtf16(const std::filesystem::path& native) {
  char mark[2] = {};
  std::ifstream(native, std::ios::binary).read(mark, 2);
  return (mark[0] == '\xFF' && mark[1] == '\xFE') || (mark[0] == '\xFE' && mark[1] == '\xFF');
}

// Opens the text files the load reads, each looked at first (a pipe would hang the reading, a device never
// end it, a link may lead off the disc), and looks once at what each holds: the browser shows them in code
// page 1250.
class EncodingCheck {
 public:
  EncodingCheck(const DiscFolder& disc, std::vector<Finding>& findings, const TextSource& source)
      : disc_(disc), findings_(findings), source_(source) {}

  // This machine's name for a file that can be read as one; a fault is told once.
  std::optional<std::filesystem::path> Locate(const std::string& file) {
    auto native = disc_.Locate(file);
    if (!native) return std::nullopt;
    if (const auto fault = disc_.FileFault(file)) {
      if (faulty_.insert(file).second)
        findings_.push_back({Severity::kError, fault->code, file, 0, fault->text});
      return std::nullopt;
    }
    return native;
  }

  bool Open(TextFile& text, const std::string& file, const std::filesystem::path& native) {
    if (source_) {
      auto contents = source_(native, file);
      return contents && text.OpenFromString(std::move(*contents));
    }
    if (!StartsAsUtf16(native)) return text.Open(native.string());
    // The browser would read its bytes, a NUL after every letter: told once, and the rest of the check reads
    // the file as tamo_pack would convert it, rather than report each of those bytes.
    if (utf16_.insert(file).second) {
      findings_.push_back({Severity::kError, Code::kUtf16Text, file, 0,
                           "text in UTF-16 (Notepad's \"Unicode\"); the browser reads code page 1250 and "
                           "would show its bytes: save it in code page 1250, or pack with tamo_pack, which "
                           "converts it"});
    }
    std::ifstream in(native, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text.OpenFromString(EncodeCodePage1250(DecodeText(bytes, TextEncoding::kCodePage1250).codes));
  }

  // Looks for what the browser would show wrongly in a file as the disc holds it; a file read through a
  // source is in code page 1250 already.
  void Scan(const std::string& file, const std::filesystem::path& native) {
    if (source_ || !scanned_.insert(file).second) return;
    // Read as the browser reads it, so that nothing after an end-of-file mark is judged.
    TextFile text;
    if (!Open(text, file, native) || utf16_.count(file) != 0) return;
    std::string line;
    long long lineNumber = 0;
    while (text.ReadLine(line)) {
      ++lineNumber;
      if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) {
        findings_.push_back({Severity::kWarning, Code::kByteOrderMark, file, 1,
                             "UTF-8 byte order mark; the browser reads code page 1250 and shows it as text"});
        line.erase(0, 3);
      }
      if (LooksLikeUtf8(line)) {
        findings_.push_back(
            {Severity::kWarning, Code::kUtf8Text, file, lineNumber,
             "text in UTF-8 (first here); the browser reads code page 1250 and shows it garbled"});
        return;
      }
    }
  }

 private:
  const DiscFolder& disc_;
  std::vector<Finding>& findings_;
  const TextSource& source_;
  std::set<std::string> scanned_;
  std::set<std::string> faulty_;
  std::set<std::string> utf16_;
};

// Reads one language's catalogue off the disc and collects everything the load reports, reading on past every
// finding.
class DiscLoad : public DiscAccess, public LoadSink {
 public:
  struct Header {
    int id;
    long long line;
  };

  DiscLoad(const DiscFolder& disc, EncodingCheck& encoding) : disc_(disc), encoding_(encoding) {}

  void ResolvePath(std::string& path) override { disc_.Resolve(path); }
  bool OpenTextFile(TextFile& file, const std::string& path) override {
    const auto native = encoding_.Locate(path);
    if (!native || !encoding_.Open(file, path, *native)) return false;
    encoding_.Scan(path, *native);
    opened.push_back(path);
    return true;
  }
  // Every finding is collected and the reading goes on.
  bool Report(const LoadFinding& finding) override {
    reported.push_back(finding);
    return true;
  }
  void CategoryRead(int id, int, long long line) override { headers.push_back({id, line}); }
  void BlockRead(const Block& block) override { blocks.push_back(block); }

  std::vector<LoadFinding> reported;
  std::vector<Header> headers;
  std::vector<Block> blocks;
  std::vector<std::string> opened;

 private:
  const DiscFolder& disc_;
  EncodingCheck& encoding_;
};

struct Settings {
  PerLanguage<IniFile::Value> categoryFile;
  IniFile::Value programList;
  PerLanguage<std::string> defaultDescription;
  PerLanguage<IniFile::Value> helpFile;
  // Whether the program can open each language's help file: a disc that lets the user choose the language
  // opens either, a single-language disc only its own language's.
  PerLanguage<bool> helpOpened;
};

// A missing help file costs the catalogue nothing, but the help button then opens a viewer with nothing to
// show. Told where the settings name the file, or, when they do not, at the default file itself, as a missing
// category file is.
void CheckHelpFiles(const DiscFolder& disc, const Settings& settings, std::vector<Finding>& findings) {
  for (const Language language : kLanguages) {
    const IniFile::Value& help = settings.helpFile[language];
    if (!settings.helpOpened[language] || DiscFolder::LeavesDisc(help.text) || disc.IsFile(help.text))
      continue;
    const SettingsKey& key =
        KeyOf(language == Language::kPolish ? Setting::kHelpPolish : Setting::kHelpCzech);
    findings.push_back(
        {Severity::kWarning, Code::kNoHelpFile, help.line != 0 ? kSettingsFile : help.text, help.line,
         "help file " + help.text + " (" + key.key + " in [" + key.section + "]) does not exist"});
  }
}

void CheckCategories(const CategoryTable& table, const DiscLoad& load, const std::string& file,
                     bool programListRead, std::vector<Finding>& findings) {
  std::map<int, long long> lineOf;
  for (const auto& header : load.headers) {
    const auto earlier = lineOf.find(header.id);
    if (earlier != lineOf.end()) {
      findings.push_back({Severity::kWarning, Code::kCategoryAgain, file, header.line,
                          "category " + std::to_string(header.id) + " is defined again (first in line " +
                              std::to_string(earlier->second) +
                              "); this definition replaces the earlier one"});
    }
    lineOf[header.id] = header.line;
  }

  // Counted from the blocks, not the entries: a program whose description fails is reported as that.
  std::vector<int> programCount(CategoryTable::kSlotCount, 0);
  for (const auto& block : load.blocks) {
    if (block.accepted) ++programCount[block.category];
  }
  std::vector<int> childCount(CategoryTable::kSlotCount, 0);
  for (int id = 1; id < CategoryTable::kSlotCount; ++id) {
    const Category* category = table.Get(id);
    if (category != nullptr && table.Get(category->parent) != nullptr) ++childCount[category->parent];
  }

  for (int id = 1; id < CategoryTable::kSlotCount; ++id) {
    const Category* category = table.Get(id);
    if (category == nullptr) continue;
    const long long line = lineOf[id];
    const std::string name = "category " + std::to_string(id);
    if (category->parent == id) {
      findings.push_back({Severity::kWarning, Code::kOwnParent, file, line,
                          name + " is its own parent, so it is never shown"});
      continue;
    }
    if (table.Get(category->parent) == nullptr) {
      findings.push_back({Severity::kWarning, Code::kUndefinedParent, file, line,
                          "parent category " + std::to_string(category->parent) + " of " + name +
                              " isn't defined, so the category is never shown"});
      continue;
    }
    // Walk up at most once round the table: a longer walk can only be going round a loop.
    std::vector<int> chain{id};
    int current = category->parent;
    bool hiddenAbove = false;
    bool inLoop = false;
    while (current != 0 && chain.size() <= static_cast<std::size_t>(CategoryTable::kSlotCount)) {
      if (current == id) {
        inLoop = true;
        break;
      }
      const Category* above = table.Get(current);
      if (above == nullptr) {
        hiddenAbove = true;
        break;
      }
      chain.push_back(current);
      current = above->parent;
    }
    const bool reachesRoot = current == 0 && !hiddenAbove;
    if (inLoop && *std::min_element(chain.begin(), chain.end()) == id) {
      // One finding per loop, at its lowest member; categories hanging below a loop or below a hidden
      // category are hidden by that fault, which is reported where it is.
      std::sort(chain.begin(), chain.end());
      std::string members;
      for (int member : chain) members += (members.empty() ? "" : ", ") + std::to_string(member);
      findings.push_back({Severity::kWarning, Code::kParentLoop, file, line,
                          "categories " + members +
                              " are each other's parents and never reach the root, so " +
                              "they are never shown"});
    }
    if (reachesRoot && programListRead && programCount[id] == 0 && childCount[id] == 0) {
      findings.push_back({Severity::kWarning, Code::kEmptyCategory, file, line,
                          name + " (" + category->name + ") is empty: no programs and no subcategories"});
    }
  }
}

// The program file a run or installer path starts, when it exists.
std::optional<std::string> ProgramFile(const DiscFolder& disc, const std::string& path) {
  if (disc.IsFile(path)) return path;
  // What follows a blank in the last component may be arguments, which the browser passes on.
  const std::size_t slash = path.rfind('\\');
  for (std::size_t blank = path.find(' ', slash == std::string::npos ? 0 : slash); blank != std::string::npos;
       blank = path.find(' ', blank + 1)) {
    if (disc.IsFile(path.substr(0, blank))) return path.substr(0, blank);
  }
  return std::nullopt;
}

// A path on drive D: is the disc's only while the disc is drive D:; one on another drive is never the
// disc's.
void CheckDrive(const std::string& file, long long line, const std::string& path, bool mustBeOnDisc,
                std::vector<Finding>& findings) {
  if (DiscFolder::OnDriveD(path)) {
    std::string relative = path.substr(2);
    relative.erase(0, relative.find_first_not_of('\\'));
    findings.push_back({Severity::kWarning, Code::kOnDriveD, file, line,
                        "the path " + path +
                            " is on drive D:, so it is found only when the disc is drive D:; " +
                            (relative.empty() ? std::string(".") : relative) +
                            ", relative to the disc's root, is found in any drive"});
  } else if (mustBeOnDisc && DiscFolder::LeavesDisc(path)) {
    findings.push_back({Severity::kError, Code::kLeavesDisc, file, line,
                        "the path " + path + " leaves the disc: it names " +
                            (path[0] == '\\' ? std::string("a network share")
                                             : "drive " + path.substr(0, 2) + ", not the disc's") +
                            "; write it relative to the disc's root"});
  }
}

void CheckLength(const std::string& file, long long line, const std::string& path,
                 std::vector<Finding>& findings) {
  const std::size_t length = path.size() + (DiscFolder::OnDriveD(path)         ? 0
                                            : !path.empty() && path[0] == '\\' ? 2
                                                                               : kDriveRootLength);
  if (length <= kMaxPathLength) return;
  findings.push_back({Severity::kWarning, Code::kPathTooLong, file, line,
                      "the path is " + std::to_string(length) + " characters long on the disc; the browser " +
                          "handles at most " + std::to_string(kMaxPathLength)});
}

void CheckBlocks(const DiscFolder& disc, const DiscLoad& load, const std::string& file,
                 std::vector<Finding>& findings) {
  for (const auto& block : load.blocks) {
    CheckDrive(file, block.directoryLine, block.directory, true, findings);
    // The browser reads the number as atoi does: text that does not start with one is 0, the root.
    const std::string& number = block.categoryText;
    const std::size_t digit = !number.empty() && (number[0] == '+' || number[0] == '-') ? 1 : 0;
    const bool isNumber = digit < number.size() && number[digit] >= '0' && number[digit] <= '9';
    if (!number.empty() && !isNumber) {
      findings.push_back({Severity::kWarning, Code::kCategoryNotNumber, file, block.categoryLine,
                          "the category number \"" + number +
                              "\" is not a number, so the browser reads 0: the program lands in the root"});
    }
    std::map<std::string, long long> firstLine;
    for (const auto& option : block.options) {
      if (!option.known) {
        findings.push_back({Severity::kWarning, Code::kUnknownOption, file, option.line,
                            "unknown option key \"" + option.key +
                                "\" is ignored; the keys are run, ins, cop, op1 and op2"});
        continue;
      }
      const auto [earlier, first] = firstLine.emplace(option.key, option.line);
      if (!first) {
        findings.push_back({Severity::kWarning, Code::kOptionAgain, file, option.line,
                            "option \"" + option.key + "\" is given again in this block (first in line " +
                                std::to_string(earlier->second) + "); the later value counts"});
      }
    }
    const auto checkProgram = [&](const std::optional<std::string>& path, long long line, Code code,
                                  const char* what) {
      if (!path || DiscFolder::LeavesDisc(*path)) return;
      CheckLength(file, line, *path, findings);
      const auto program = ProgramFile(disc, *path);
      if (!program) {
        findings.push_back(
            {Severity::kWarning, code, file, line, std::string(what) + " " + *path + " does not exist"});
      } else if (const auto fault = disc.FileFault(*program)) {
        findings.push_back({Severity::kError, fault->code, file, line,
                            std::string(what) + " " + *program + ": " + fault->text});
      }
    };
    checkProgram(block.runPath, block.runLine, Code::kNoRunFile, "run file");
    checkProgram(block.installPath, block.installLine, Code::kNoInstaller, "installer");
    CheckLength(file, block.descriptionLine, block.descriptionPath, findings);
    // An accepted block's description is tested by the load itself; a dropped one's the browser never opens.
    if (!block.accepted && !DiscFolder::LeavesDisc(block.descriptionPath) &&
        !disc.IsFile(block.descriptionPath)) {
      findings.push_back({Severity::kWarning, Code::kNoDroppedDescription, file, block.descriptionLine,
                          "description file " + block.descriptionPath + " does not exist"});
    }
  }
}

void PrintTree(const CategoryTable& table, int id, int depth, std::string& out) {
  const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
  for (const Category* child : table.Children(id)) {
    if (child->id == id) continue;
    out += indent + "[" + std::to_string(child->id) + "] " + child->name + "\n";
    PrintTree(table, child->id, depth + 1, out);
  }
  for (const auto& program : table.Get(id)->programs) out += indent + "- " + program->title + "\n";
}

struct LanguageResult {
  std::vector<Finding> findings;
  std::vector<std::string> opened;
  std::unique_ptr<CategoryTable> table = std::make_unique<CategoryTable>();
};

LanguageResult CheckLanguage(const DiscFolder& disc, EncodingCheck& encoding, const Settings& settings,
                             Language language) {
  const CatalogSources sources{{settings.categoryFile.polish.text, settings.categoryFile.czech.text},
                               settings.programList.text,
                               settings.defaultDescription};

  LanguageResult result;
  DiscLoad load(disc, encoding);
  LoadCatalog(sources, language, *result.table, load, load);
  const std::string& categoryFile = settings.categoryFile[language].text;
  const auto unreadable = [&](const std::string& file) {
    return std::any_of(load.reported.begin(), load.reported.end(),
                       [&](const LoadFinding& f) { return f.code == Code::kCannotOpen && f.file == file; });
  };
  // Without its category file every program of the language lands in an undefined category: one fault, told
  // once.
  const bool categoriesRead = !unreadable(categoryFile);
  for (const LoadFinding& f : load.reported) {
    if (!categoriesRead && f.code == Code::kUndefinedCategory) continue;
    result.findings.push_back(
        {f.stopsLoad ? Severity::kError : Severity::kWarning, f.code, f.file, f.line, OneLine(f.reason)});
  }
  const bool programListRead = !unreadable(sources.programList);
  CheckCategories(*result.table, load, categoryFile, programListRead, result.findings);
  CheckBlocks(disc, load, sources.programList, result.findings);
  result.opened = std::move(load.opened);
  return result;
}

}  // namespace

std::string ToCodePage1250(const std::string& bytes, const std::string& file, TextEncoding from,
                           std::vector<Finding>& findings) {
  const DecodedText text = DecodeText(bytes, from);
  const std::string name = Utf8FromCodePage1250(file);
  // Text taken for UTF-8 only because it was declared so may be code page 1250 after all: the author is told
  // how to say so.
  const bool mayBeCodePage = text.form == DecodedText::Form::kUtf8 && !text.byteOrderMark;
  if (text.faultLine != 0) {
    findings.push_back(
        {Severity::kError, text.form == DecodedText::Form::kUtf16 ? Code::kBadUtf16 : Code::kNotUtf8, name,
         text.faultLine,
         text.fault + (mayBeCodePage ? "; if the file is in code page 1250, give --from cp1250" : "")});
    // Nothing is packed now; the check goes on with the file as it is, which is most likely code page 1250,
    // rather than report every path it names that the replaced characters would miss.
    if (text.form == DecodedText::Form::kUtf8) return bytes;
  } else {
    long long line = 1;
    long long lastReported = 0;
    for (const char32_t code : text.codes) {
      if (!InCodePage1250(code) && lastReported != line) {
        std::string what =
            "the character " + CodePointName(code) + " \"" + Utf8(code) + "\" has no code in code page 1250";
        if (mayBeCodePage) {
          what += "; if the file is in code page 1250, where these bytes read \"" +
                  Utf8FromCodePage1250(Utf8(code)) + "\", give --from cp1250";
        }
        findings.push_back({Severity::kError, Code::kNotInCodePage, name, line, what});
        lastReported = line;
      }
      if (code == '\n') ++line;
    }
  }
  return EncodeCodePage1250(text.codes);
}

std::optional<TextEncoding> EncodingNamed(const std::string& name) {
  if (name == "utf-8" || name == "utf8" || name == "UTF-8") return TextEncoding::kUtf8;
  if (name == "cp1250" || name == "CP1250" || name == "windows-1250") return TextEncoding::kCodePage1250;
  return std::nullopt;
}

int CheckReport::ErrorCount() const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [](const Finding& f) { return f.severity == Severity::kError; }));
}

int CheckReport::WarningCount() const { return static_cast<int>(findings.size()) - ErrorCount(); }

int CheckReport::ExitCode() const {
  if (ErrorCount() > 0) return 2;
  return findings.empty() ? 0 : 1;
}

CheckReport CheckDisc(const std::filesystem::path& discFolder, bool withTree, const TextSource& textSource) {
  CheckReport report;
  DiscFolder disc(discFolder);
  std::vector<Finding> common;
  EncodingCheck encoding(disc, common, textSource);

  // The settings as the browser will read them: through the source when there is one, so that a file
  // converted for the disc gives its values in code page 1250.
  IniFile file;
  if (const auto native = encoding.Locate(kSettingsFile)) {
    const auto converted = textSource ? textSource(*native, kSettingsFile) : std::nullopt;
    if (converted) file.Parse(*converted);
    if (converted || file.Load(native->string())) encoding.Scan(kSettingsFile, *native);
  }
  Settings settings;
  const auto read = [&](Setting setting) {
    const SettingsKey& key = KeyOf(setting);
    IniFile::Value value = file.Get(key.section, key.key, key.fallback);
    if (key.isDiscPath) {
      if (value.line != 0 && !value.text.empty()) {
        CheckLength(kSettingsFile, value.line, value.text, common);
        // The catalogue must be on the disc; a help file may lie elsewhere.
        const bool catalogue = setting == Setting::kCategoryFilePolish ||
                               setting == Setting::kCategoryFileCzech || setting == Setting::kProgramList;
        CheckDrive(kSettingsFile, value.line, value.text, catalogue, common);
      }
      disc.Resolve(value.text);
    }
    return value;
  };
  settings.categoryFile.polish = read(Setting::kCategoryFilePolish);
  settings.categoryFile.czech = read(Setting::kCategoryFileCzech);
  settings.programList = read(Setting::kProgramList);
  settings.defaultDescription.polish = read(Setting::kDescriptionPolish).text;
  settings.defaultDescription.czech = read(Setting::kDescriptionCzech).text;
  settings.helpFile.polish = read(Setting::kHelpPolish);
  settings.helpFile.czech = read(Setting::kHelpCzech);
  const bool multiLanguage = read(Setting::kMultiLanguage).text == "yes";
  const bool singleLanguagePolish = read(Setting::kLanguage).text == "pl";
  settings.helpOpened.polish = multiLanguage || singleLanguagePolish;
  settings.helpOpened.czech = multiLanguage || !singleLanguagePolish;
  CheckHelpFiles(disc, settings, common);

  PerLanguage<LanguageResult> results;
  for (const Language language : kLanguages)
    results[language] = CheckLanguage(disc, encoding, settings, language);

  // A file that cannot be opened is best shown where the settings name it.
  const auto place = [&](Finding finding) {
    for (const IniFile::Value* value :
         {&settings.categoryFile.czech, &settings.categoryFile.polish, &settings.programList}) {
      if (finding.line == 0 && finding.file == value->text && value->line != 0) {
        finding.file = kSettingsFile;
        finding.line = value->line;
      }
    }
    return finding;
  };
  // Both languages read the same program list (and perhaps the same category file): what both find at one
  // place is one finding, which keeps both texts where they differ (each language's own description file);
  // what one language alone finds in the shared list says which.
  std::vector<Finding> all = common;
  const std::vector<Finding>& polish = results.polish.findings;
  const std::vector<Finding>& czech = results.czech.findings;
  const auto samePlace = [](const Finding& a, const Finding& b) {
    return a.code == b.code && a.file == b.file && a.line == b.line;
  };
  const auto only = [&](Finding finding, Language language) {
    if (finding.file == settings.programList.text)
      finding.text += std::string(" (") + LanguageName(language) + " catalogue only)";
    return finding;
  };
  std::vector<bool> twinned(czech.size(), false);
  for (const Finding& finding : polish) {
    std::size_t twin = 0;
    while (twin < czech.size() && (twinned[twin] || !samePlace(finding, czech[twin]))) ++twin;
    if (twin == czech.size()) {
      all.push_back(place(only(finding, Language::kPolish)));
      continue;
    }
    twinned[twin] = true;
    Finding merged = finding;
    if (czech[twin].text != finding.text)
      merged.text += " (Polish catalogue); " + czech[twin].text + " (Czech catalogue)";
    if (czech[twin].severity == Severity::kError) merged.severity = Severity::kError;
    all.push_back(place(merged));
  }
  for (std::size_t i = 0; i < czech.size(); ++i) {
    if (!twinned[i]) all.push_back(place(only(czech[i], Language::kCzech)));
  }
  // A path off the disc cannot be opened there: that it leaves the disc says all.
  std::set<std::pair<std::string, long long>> offDiscPlaces;
  for (const Finding& finding : all) {
    if (finding.code == Code::kLeavesDisc) offDiscPlaces.emplace(finding.file, finding.line);
  }
  const auto offDisc = [&](const Finding& finding) {
    return (finding.code == Code::kCannotOpen || finding.code == Code::kNoDescriptionFile) &&
           offDiscPlaces.count({finding.file, finding.line}) != 0;
  };
  all.erase(std::remove_if(all.begin(), all.end(), offDisc), all.end());
  SortByPlace(all);
  // Everything above is the disc's text, in its code page; the report is in UTF-8.
  for (Finding& finding : all) {
    finding.file = Utf8FromCodePage1250(finding.file);
    finding.text = Utf8FromCodePage1250(finding.text);
  }
  report.findings = std::move(all);
  for (const Language language : kLanguages) report.loadOrder[language] = std::move(results[language].opened);

  if (withTree) {
    for (const Language language : kLanguages) {
      report.tree += std::string(LanguageName(language)) + " catalogue (" +
                     settings.categoryFile[language].text + "):\n";
      PrintTree(*results[language].table, 0, 1, report.tree);
    }
    report.tree = Utf8FromCodePage1250(report.tree);
  }
  return report;
}

// The disc's text is printed in UTF-8, as this machine's names are; --utf8, which once asked for that, is
// still taken.
constexpr const char* kUsage =
    "usage: tamo_check [--tree] [--from utf-8|cp1250] [DISC-FOLDER]\n"
    "  --tree           also print each language's category tree as the program shows it\n"
    "  --from ENCODING  check the folder as tamo_pack --from ENCODING would put it on the disc; without it,\n"
    "                   as the disc holds it (code page 1250)\n";

int RunChecker(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& errors) {
  bool withTree = false;
  std::string folder = ".";
  bool folderGiven = false;
  std::optional<TextEncoding> from;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--from" && i + 1 < arguments.size()) {
      from = EncodingNamed(arguments[++i]);
      if (!from) {
        errors << "--from: error: \"" << PrintableUtf8(arguments[i]) << "\" is not utf-8 or cp1250\n";
        return 2;
      }
    } else if (argument == "--tree") {
      withTree = true;
    } else if (argument == "--utf8") {
      // Nothing to do: the output is UTF-8.
    } else if (argument == "--help" || argument == "-h" || argument == "/?") {
      out << kUsage;
      return 0;
    } else if ((!argument.empty() && argument[0] == '-') || folderGiven) {
      errors << kUsage;
      return 2;
    } else {
      folder = argument;
      folderGiven = true;
    }
  }
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    errors << PrintableUtf8(folder) << ": error: not a folder\n";
    return 2;
  }
  // With --from every text file is read as the packer converts it, each once.
  std::vector<Finding> conversion;
  std::map<std::string, std::string> converted;
  TextSource source;
  if (from) {
    source = [&](const std::filesystem::path& native, const std::string& file) -> std::optional<std::string> {
      if (const auto done = converted.find(file); done != converted.end()) return done->second;
      std::ifstream in(native, std::ios::binary);
      if (!in) return std::nullopt;
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      return converted[file] = ToCodePage1250(bytes, file, *from, conversion);
    };
  }
  CheckReport report = CheckDisc(folder, withTree, source);
  report.findings.insert(report.findings.end(), conversion.begin(), conversion.end());
  SortByPlace(report.findings);
  out << report.tree;
  for (const auto& finding : report.findings) out << FormatFinding(finding) << '\n';
  const int errorCount = report.ErrorCount();
  const int warningCount = report.WarningCount();
  out << errorCount << (errorCount == 1 ? " error, " : " errors, ") << warningCount
      << (warningCount == 1 ? " warning" : " warnings") << '\n';
  return report.ExitCode();
}
