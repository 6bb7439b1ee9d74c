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

std::string PageName(const HelpTopic& topic) { return topic.id + ".html"; }

std::string Runs(const HelpBlock& block) {
  std::string text;
  for (const HelpRun& run : block.runs) {
    text += run.target.empty() ? Html(run.text)
                               : "<a href=\"" + run.target + ".html\">" + Html(run.text) + "</a>";
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

std::string Page(const HelpTopic& topic) {
  std::string page = std::string(kHead) + "<title>" + Html(topic.title) + "</title>\r\n" + kStyle +
                     "</head><body>\r\n<h1>" + Html(topic.title) + "</h1>\r\n";
  bool inList = false;
  for (const HelpBlock& block : topic.blocks) {
    const bool item = block.kind == HelpBlock::Kind::kListItem;
    if (item != inList) page += item ? "<ul>\r\n" : "</ul>\r\n";
    inList = item;
    switch (block.kind) {
      case HelpBlock::Kind::kParagraph:
        page += "<p>" + Runs(block) + "</p>\r\n";
        break;
      case HelpBlock::Kind::kHeading:
        page += "<h2>" + Runs(block) + "</h2>\r\n";
        break;
      case HelpBlock::Kind::kListItem:
        page += "<li>" + Runs(block) + "</li>\r\n";
        break;
    }
  }
  if (inList) page += "</ul>\r\n";
  return page + "</body></html>\r\n";
}

std::string Contents(const HelpDocument& document) {
  std::string contents = std::string(kHead) + "</head><body>\r\n<ul>\r\n";
  for (const HelpTopic& topic : document.topics) {
    contents += "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"" + Html(topic.title) +
                "\"><param name=\"Local\" value=\"" + PageName(topic) + "\"></object>\r\n";
  }
  return contents + "</ul>\r\n</body></html>\r\n";
}

std::string Project(const HelpDocument& document, const std::string& chmName) {
  const std::string language =
      document.language == HelpDocument::Language::kPolish ? "0x415 Polish" : "0x405 Czech";
  const std::string title = CodePage1250FromUtf8(document.title);
  // The window's caption is a quoted field of its own.
  std::string caption = title;
  for (char& c : caption) {
    if (c == '"') c = '\'';
  }
  const std::string start = PageName(document.topics.front());
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
  for (const HelpTopic& topic : document.topics) project += PageName(topic) + "\r\n";
  return project;
}

}  // namespace

std::map<std::string, std::string> HtmlHelpProject(const HelpDocument& document, const std::string& chmName) {
  std::map<std::string, std::string> files;
  for (const HelpTopic& topic : document.topics) files[PageName(topic)] = Page(topic);
  files["toc.hhc"] = Contents(document);
  files[kHtmlHelpProjectFile] = Project(document, chmName);
  return files;
}
