#include "tools/help/halibut_source.h"

namespace {

// Halibut takes a backslash or a brace as markup.
std::string Escaped(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '\\' || c == '{' || c == '}') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string Runs(const HelpBlock& block) {
  std::string text;
  for (const HelpRun& run : block.runs) {
    text +=
        run.target.empty() ? Escaped(run.text) : "\\W{" + run.target + ".html}{" + Escaped(run.text) + "}";
  }
  return text;
}

}  // namespace

std::string HalibutSource(const HelpDocument& document, const std::string& chmName) {
  // Pages named by topic id, so that a link needs nothing but the id; no numbers, no navigation lines and no
  // generated table on the contents page: the author's contents topic is that table.
  std::string source =
      "\\cfg{input-charset}{UTF-8}\n"
      "\\cfg{chm-filename}{" +
      Escaped(chmName) +
      "}\n"
      "\\cfg{chm-contents-filename}{" +
      document.topics.front().id +
      ".html}\n"
      "\\cfg{chm-template-filename}{%k.html}\n"
      "\\cfg{chm-template-fragment}{%k}\n"
      "\\cfg{chm-contents-depth}{0}{0}\n"
      "\\cfg{chm-chapter-shownumber}{false}\n"
      "\\cfg{chm-suppress-navlinks}{true}\n"
      "\\cfg{chm-suppress-address}{true}\n"
      "\n\\title " +
      Escaped(document.title) + "\n";
  for (std::size_t i = 0; i < document.topics.size(); ++i) {
    const HelpTopic& topic = document.topics[i];
    // The contents topic is halibut's preamble, which stands on the first page under the help's title.
    if (i > 0) source += "\n\\C{" + topic.id + "} " + Escaped(topic.title) + "\n";
    for (const HelpBlock& block : topic.blocks) {
      switch (block.kind) {
        case HelpBlock::Kind::kParagraph:
          source += "\n" + Runs(block) + "\n";
          break;
        case HelpBlock::Kind::kHeading:
          source += "\n\\s{" + Runs(block) + "}\n";
          break;
        case HelpBlock::Kind::kListItem:
          source += "\n\\b " + Runs(block) + "\n";
          break;
      }
    }
  }
  return source;
}
