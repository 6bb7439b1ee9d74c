// Feeds arbitrary bytes to the help source reader, and what it accepts to both help writers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/help/help_source.h"
#include "tools/help/html_help.h"
#include "tools/help/winhelp_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::uint32_t Read32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> errors;
  const HelpDocument document = ReadHelpSource(text, "h.txt", errors);

  // Every fault names the file, and a line the file has.
  long long lines = 1;
  for (const char c : text) lines += c == '\n';
  for (const std::string& error : errors) {
    Check(error.rfind("h.txt: error: ", 0) == 0 || error.rfind("h.txt(", 0) == 0);
    if (error.rfind("h.txt(", 0) == 0) {
      const long long line = std::atoll(error.c_str() + 6);
      Check(line >= 1 && line <= lines);
    }
  }
  if (!errors.empty()) return 0;

  // What is accepted is whole: a title, topics with titles, no empty run, every link to a topic of its own.
  Check(!document.title.empty() && !document.topics.empty());
  for (const HelpTopic& topic : document.topics) {
    Check(!topic.title.empty());
    for (const HelpBlock& block : topic.blocks) {
      Check(!block.runs.empty());
      for (const HelpRun& run : block.runs) {
        Check(!run.text.empty());
        bool found = run.target.empty();
        for (const HelpTopic& other : document.topics) found = found || other.id == run.target;
        Check(found);
      }
    }
  }
  const std::string hlp = WriteWinHelp(document);
  Check(hlp.size() > 16 && Read32(hlp, 0) == 0x00035F3F && Read32(hlp, 12) == hlp.size());
  Check(HtmlHelpProject(document, "h.chm").size() == document.topics.size() + 2);
  return 0;
}
