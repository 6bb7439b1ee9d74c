#include "tools/help/html_help.h"

#include "disc/code_page.h"

namespace {

// Text for HTML, in code page 1250.
std::string Html(const std::string& text) {
  std::string out;
  for (const char c : CodePage1250FromUtf8(text)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Each topic's page, by id: the id itself, unless the name would be longer than a file name may be (255
// bytes) while the compiler reads the project. A longer id is cut and numbered by its topic, a name no id of
// 200 characters or fewer can have.
using Pages = std::map<std::string, std::string>;

Pages PageNames(const HelpDocument& document) {
  constexpr std::size_t kLongestKept = 200;
  Pages pages;
  for (std::size_t t = 0; t < document.topics.size(); ++t) {
    const std::string& id = document.topics[t].id;
    pages[id] =
        (id.size() <= kLongestKept ? id : id.substr(0, kLongestKept) + "_" + std::to_string(t)) + ".html";
  }
  return pages;
}

std::string Runs(const HelpBlock& block, const Pages& pages) {
  std::string text;
  for (const HelpRun& run : block.runs) {
    text += run.target.empty() ? Html(run.text)
                               : "<a href=\"" + pages.at(run.target) + "\">" + Html(run.text) + "</a>";
  }
  return text;
}

constexpr char kHead[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n"
    "<html><head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">\r\n";

constexpr char kStyle[] =
    "<style type=\"text/css\">\r\n"
    "body { font-family: Arial, sans-serif; font-size: 10pt; }\r\n"
    "h1 { font-size: 14pt; } h2 { font-size: 12pt; margin-bottom: 0.3em; }\r\n"
    "</style>\r\n";

std::string Page(const HelpTopic& topic, const Pages& pages) {
  std::string page = std::string(kHead) + "<title>" + Html(topic.title) + "</title>\r\n" + kStyle +
                     "</head><body>\r\n<h1>" + Html(topic.title) + "</h1>\r\n";
  bool inList = false;
  for (const HelpBlock& block : topic.blocks) {
    const bool item = block.kind == HelpBlock::Kind::kListItem;
    if (item != inList) page += item ? "<ul>\r\n" : "</ul>\r\n";
    inList = item;
    switch (block.kind) {
      case HelpBlock::Kind::kParagraph:
        page += "<p>" + Runs(block, pages) + "</p>\r\n";
        break;
      case HelpBlock::Kind::kHeading:
        page += "<h2>" + Runs(block, pages) + "</h2>\r\n";
        break;
      case HelpBlock::Kind::kListItem:
        page += "<li>" + Runs(block, pages) + "</li>\r\n";
        break;
    }
  }
  if (inList) page += "</ul>\r\n";
  return page + "</body></html>\r\n";
}

std::string Contents(const HelpDocument& document, const Pages& pages) {
  std::string contents = std::string(kHead) + "</head><body>\r\n<ul>\r\n";
  for (const HelpTopic& topic : document.topics) {
    contents += "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"" + Html(topic.title) +
                "\"><param name=\"Local\" value=\"" + pages.at(topic.id) + "\"></object>\r\n";
  }
  return contents + "</ul>\r\n</body></html>\r\n";
}

std::string Project(const HelpDocument& document, const std::string& chmName, const Pages& pages) {
  const std::string language =
      document.language == HelpDocument::Language::kPolish ? "0x415 Polish" : "0x405 Czech";
  const std::string title = CodePage1250FromUtf8(document.title);
  // The window's caption is a quoted field of its own.
  std::string caption = title;
  for (char& c : caption) {
    if (c == '"') c = '\'';
  }
  const std::string start = pages.at(document.topics.front().id);
  std::string project =
      "[OPTIONS]\r\n"
      "Compatibility=1.1 or later\r\n"
      "Compiled file=" +
      chmName +
      "\r\n"
      "Contents file=toc.hhc\r\n"
      "Default Window=main\r\n"
      "Default topic=" +
      start +
      "\r\n"
      "Display compile progress=No\r\n"
      "Language=" +
      language + "\r\nTitle=" + title +
      "\r\n\r\n"
      "[WINDOWS]\r\n"
      // The contents beside the page, with the buttons to hide it, go back and forward, and print.
      "main=\"" +
      caption + "\",\"toc.hhc\",,\"" + start + "\",\"" + start +
      "\",,,,,0x2520,200,0x3006,[20,20,780,560],,,,,,,0\r\n\r\n[FILES]\r\n";
  for (const HelpTopic& topic : document.topics) project += pages.at(topic.id) + "\r\n";
  return project;
}

}  // namespace

std::map<std::string, std::string> HtmlHelpProject(const HelpDocument& document, const std::string& chmName) {
  const Pages pages = PageNames(document);
  std::map<std::string, std::string> files;
  for (const HelpTopic& topic : document.topics) files[pages.at(topic.id)] = Page(topic, pages);
  files["toc.hhc"] = Contents(document, pages);
  files[kHtmlHelpProjectFile] = Project(document, chmName, pages);
  return files;
}
