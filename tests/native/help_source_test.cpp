#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "tests/native/case_name.h"
#include "tests/native/temp_dir.h"
#include "disc/code_page.h"
#include "tools/help/help_compiler.h"
#include "tools/help/help_source.h"

namespace {

// The document in one line: "title | topic id "Title": P(text, [link text->target]) H(...) L(...) | ...".
std::string Describe(const HelpDocument& document) {
  std::string text = document.title;
  for (const HelpTopic& topic : document.topics) {
    text += " | " + topic.id + " \"" + topic.title + "\":";
    for (const HelpBlock& block : topic.blocks) {
      text += block.kind == HelpBlock::Kind::kParagraph ? " P("
              : block.kind == HelpBlock::Kind::kHeading ? " H("
                                                        : " L(";
      for (std::size_t i = 0; i < block.runs.size(); ++i) {
        const HelpRun& run = block.runs[i];
        text += (i ? ", " : "") + (run.target.empty() ? run.text : "[" + run.text + "->" + run.target + "]");
      }
      text += ")";
    }
  }
  return text;
}

struct SourceCase {
  const char* name;
  std::string source;
  std::string expected;  // the document as Describe gives it, or every error, one a line
};

class HelpSource : public ::testing::TestWithParam<SourceCase> {};

TEST_P(HelpSource, ReadsTheDocumentOrNamesEveryFault) {
  std::vector<std::string> errors;
  const HelpDocument document = ReadHelpSource(GetParam().source, "h.txt", errors);
  std::string actual;
  for (const std::string& error : errors) actual += error + "\n";
  EXPECT_EQ(errors.empty() ? Describe(document) : actual, GetParam().expected);
}

const SourceCase kSources[] = {
    {"MinimalHelp", "@title T\n@topic a A\n", "T | a \"A\":"},
    {"ParagraphsHeadingsAndLists",
     "\xEF\xBB\xBF; comment\r\n@title  Pomoc – zażółć \r\n@topic contents Spis treści\r\nJeden\r\n  dwa  "
     "\r\n\r\n"
     "# Nagłówek\ntrzy\n* punkt\n  dalej\n* drugi\n; comment inside\ncztery\n\npięć\n",
     "Pomoc – zażółć | contents \"Spis treści\": P(Jeden dwa) H(Nagłówek) P(trzy) L(punkt dalej) "
     "L(drugi cztery) P(pięć)"},
    {"LinksWrappedAndAnyCase",
     "@title T\n@topic Start A\nSee [the\nrun page](RUN) and [back](start).\n@topic run Run\n[x]( start )\n",
     "T | Start \"A\": P(See , [the run page->run],  and , [back->Start], .) | run \"Run\": P([x->Start])"},
    {"EscapesAndPlainBackslashes",
     "@title T\n@topic a A\n\\# not a heading \\[x\\] c:\\tmp \\\\\n\\* \\@ \\; x]\n\tTab\n",
     "T | a \"A\": P(# not a heading [x] c:\\tmp \\ * @ ; x] Tab)"},
    {"CharactersOutsideCodePage1250", "@title T →\n@topic a A\nok 😀 ů ř ł €\nmore\x1b\n",
     "h.txt: error: the help has no @title\n"
     "h.txt(1): error: the character U+2192 \"→\" has no code in code page 1250\n"
     "h.txt(3): error: the character U+1F600 \"😀\" has no code in code page 1250\n"
     "h.txt(4): error: the control character U+001B\n"},
    {"NotUtf8", "@title T\n@topic a A\nza\xbf\xf3\xb3\xe6\n", "h.txt(3): error: the text is not UTF-8\n"},
    {"OverlongUtf8IsNotUtf8", "@title T\n@topic a A\n\xc0\xaf\n", "h.txt(3): error: the text is not UTF-8\n"},
    {"DirectiveFaults",
     "text first\n@title\n@title T\n@topic\n@topic a A\n@topic A again\n@topic b-c B\n@title U\n@tpoic x X\n",
     "h.txt(1): error: text before the first @topic\nh.txt(2): error: @title needs the help's title\n"
     "h.txt(4): error: @topic needs an id and a title\nh.txt(6): error: the topic id 'A' is used already on "
     "line 5\n"
     "h.txt(7): error: the topic id 'b-c' may hold only letters, digits and '_'\n"
     "h.txt(8): error: @title given again (first on line 3)\nh.txt(9): error: unknown directive '@tpoic'\n"},
    {"LanguageFaults", "@language cs\n@title T\n@topic a A\n@language pl\n",
     "h.txt(1): error: @language must be pl or cz\nh.txt(4): error: @language must come before the first "
     "@topic\n"},
    {"LanguageTwice", "@language pl\n@language cz\n@title T\n@topic a A\n",
     "h.txt(2): error: @language given again (first on line 1)\n"},
    {"LinkFaults", "@title T\n@topic a A\n[open\n\n[no target] [](a) [x](nowhere)\n#\n*\n[ok](a\n",
     "h.txt(3): error: a '[' that does not begin a link [text](topic_id) (write \\[ for the character)\n"
     "h.txt(5): error: a '[' that does not begin a link [text](topic_id) (write \\[ for the character)\n"
     "h.txt(5): error: a link without text\nh.txt(5): error: a link to the unknown topic 'nowhere'\n"
     "h.txt(6): error: a heading without text\nh.txt(7): error: a list "
     "item without text\n"
     "h.txt(8): error: a '[' that does not begin a link [text](topic_id) (write \\[ for the character)\n"},
    {"LongerThanTheViewerTakes",
     "@title ą" + std::string(127, 'x') + "\n@topic " + std::string(256, 'a') + " " + std::string(128, 'x') +
         "\n@topic b " + std::string(126, 'x') + "ř\n",
     "h.txt: error: the help has no @title\n"
     "h.txt(1): error: the help's title is longer than 127 characters\n"
     "h.txt(2): error: the topic id is longer than 255 characters\n"
     "h.txt(2): error: the topic's title is longer than 127 characters\n"},
    {"Empty", "", "h.txt: error: the help has no @title\nh.txt: error: the help has no @topic\n"},
    {"ContextHashesCollide", "@title T\n@topic jftgpll A\n@topic wbxtgzo B\n",
     "h.txt(3): error: the topic id 'wbxtgzo' has the same context hash as 'jftgpll' on line 2; Windows help "
     "could not tell them apart, so rename one\n"},
    // A paragraph's length (its text and a character for each command) is a 15-bit number in Windows help.
    {"ParagraphsLongerThanWindowsHelpHolds",
     "@title T\n@topic a A\n" + std::string(32764, 'x') + "\n\n" + std::string(20000, 'y') + "\n" +
         std::string(12764, 'y') + "\n\n* " + std::string(32763, 'z') + "\n",
     "h.txt(5): error: the paragraph takes 32768 characters in Windows help, which holds 32767 in one; split "
     "it "
     "with a blank line\n"
     "h.txt(8): error: the paragraph takes 32768 characters in Windows help, which holds 32767 in one; split "
     "it "
     "with a blank line\n"},
};
INSTANTIATE_TEST_SUITE_P(Cases, HelpSource, ::testing::ValuesIn(kSources), CaseName());

std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The records of a .chm's #SYSTEM file that the viewer takes its language and caption from: "lcid title".
std::string LanguageAndTitle(const std::string& system) {
  const auto u16 = [&](std::size_t at) {
    return static_cast<unsigned char>(system[at]) | static_cast<unsigned char>(system[at + 1]) << 8;
  };
  std::string lcid, title;
  for (std::size_t at = 4; at + 4 <= system.size();) {
    const unsigned code = u16(at), size = u16(at + 2);
    const std::string data = system.substr(at + 4, size);
    if (code == 4) lcid = std::to_string(u16(at + 4));
    if (code == 3) title = data.substr(0, data.find('\0'));
    at += 4 + size;
  }
  return lcid + " " + title;
}

// The whole compiler: both files from one source; the .chm read back with Debian's CHM tools, in code page
// 1250 and marked with the help's language.
TEST(HelpCompiler, WritesBothFilesAndTheChmInTheLanguagesCodePage) {
  TempDir folder(std::map<std::string, std::string>{
      {"cz.txt",
       "@language cz\n@title Nápověda – <ř>\n@topic obsah Obsah\nViz [spuštění](run).\n"
       "@topic run Spuštění & \"běh\"\n# Ručně\n* Příliš žluťoučký kůň \\\\ c:\\tmp.\n* x\ny\n"}});
  const std::string source = (folder.path() / "cz.txt").string();
  std::ostringstream out, err;
  ASSERT_EQ(RunHelpCompiler({source}, "chmcmd", out, err), 0) << err.str();
  EXPECT_EQ(err.str(), "");
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "cz.hlp"));

  const std::string chm = (folder.path() / "cz.chm").string();
  const std::string list = Output("enum_chmLib '" + chm + "'");
  for (const char* file : {"/obsah.html", "/run.html", "/toc.hhc", "/#SYSTEM"})
    EXPECT_NE(list.find(file), std::string::npos) << list;
  const std::string pages = (folder.path() / "pages").string();
  Output("extract_chmLib '" + chm + "' '" + pages + "'");
  EXPECT_EQ(Utf8FromCodePage1250(LanguageAndTitle(ReadFile(pages + "/#SYSTEM"))), "1029 Nápověda – <ř>");
  const std::pair<const char*, const char*> expected[] = {
      {"/run.html", "<title>Spuštění &amp; &quot;běh&quot;</title>"},
      {"/run.html",
       "<h2>Ručně</h2>\r\n<ul>\r\n<li>Příliš žluťoučký kůň \\ c:\\tmp.</li>\r\n<li>x y</li>\r\n</ul>"},
      {"/obsah.html", "<p>Viz <a href=\"run.html\">spuštění</a>.</p>"},
      {"/toc.hhc",
       "<param name=\"Name\" value=\"Spuštění &amp; &quot;běh&quot;\"><param name=\"Local\" "
       "value=\"run.html\">"},
  };
  for (const auto& [file, text] : expected) {
    const std::string page = Utf8FromCodePage1250(ReadFile(pages + file));
    EXPECT_NE(page.find(text), std::string::npos) << file << ": " << text << "\n" << page;
  }
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++files;
  EXPECT_EQ(files, 4u) << "the source, both help files and the pages read back; nothing of the compiler's";
}

// Ids as long as the reader takes work in both files: the .chm's pages are named so that the compiler can
// make them, and links find them.
TEST(HelpCompiler, TakesTheLongestIdsAndTheLongestParagraph) {
  const std::string first(255, 'a');
  const std::string second = std::string(254, 'a') + "b";
  const std::string longest = std::string(32761, 'x') + "[l](" + second + ")";
  TempDir folder(std::map<std::string, std::string>{{"h.txt", "@title T\n@topic " + first + " A\n" + longest +
                                                                  "\n@topic " + second + " B\n[back](" +
                                                                  first + ")\n"}});
  std::ostringstream out, err;
  ASSERT_EQ(RunHelpCompiler({(folder.path() / "h.txt").string()}, "chmcmd", out, err), 0) << err.str();
  const std::string pages = (folder.path() / "pages").string();
  Output("extract_chmLib '" + (folder.path() / "h.chm").string() + "' '" + pages + "'");
  const std::string firstPage = ReadFile(pages + "/" + first.substr(0, 200) + "_0.html");
  EXPECT_NE(firstPage.find("<a href=\"" + second.substr(0, 200) + "_1.html\">l</a>"), std::string::npos)
      << firstPage;
}

struct FailureCase {
  const char* name;
  std::vector<std::string> arguments;  // "SRC" is the source, "OUT" the output folder
  const char* chmCompiler;
  const char* expected;  // how err begins, with the folder as "DIR"
};

class HelpCompilerFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(HelpCompilerFailure, SaysWhyAndLeavesNoFile) {
  TempDir folder(std::map<std::string, std::string>{{"bad.txt", "@title T\n@topic a A\n[x](b)\n"},
                                                    {"good.txt", "@title T\n@topic a A\n"}});
  const std::string dir = folder.path().string();
  std::vector<std::string> arguments;
  // LAST is the folder's own name, to reach it by another spelling.
  const auto place = [&](std::string text) {
    for (std::size_t at; (at = text.find("DIR")) != std::string::npos;) text.replace(at, 3, dir);
    for (std::size_t at; (at = text.find("LAST")) != std::string::npos;)
      text.replace(at, 4, folder.path().filename().string());
    return text;
  };
  for (const std::string& argument : GetParam().arguments) arguments.push_back(place(argument));
  std::ostringstream out, err;
  EXPECT_EQ(RunHelpCompiler(arguments, GetParam().chmCompiler, out, err), 2);
  const std::string expected = place(GetParam().expected);
  EXPECT_EQ(err.str().substr(0, expected.size()), expected);
  EXPECT_EQ(ReadFile(dir + "/good.txt"), "@title T\n@topic a A\n");
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++files;
  EXPECT_EQ(files, 2u) << "only the two sources, unchanged";
}

const FailureCase kFailures[] = {
    {"FaultySource", {"DIR/bad.txt"}, "chmcmd", "DIR/bad.txt(3): error: a link to the unknown topic 'b'\n"},
    {"MissingSource", {"DIR/none.txt"}, "chmcmd", "DIR/none.txt: error: No such file or directory\n"},
    {"NoSource", {"--hlp", "DIR/x.hlp"}, "chmcmd", "usage: tamo_help SOURCE [--hlp FILE] [--chm FILE]\n"},
    // What the compiler said comes first; without the .chm the .hlp is not kept either.
    {"NoChmCompiler",
     {"DIR/good.txt"},
     "no-such-chmcmd",
     "no-such-chmcmd: No such file or directory\nDIR/good.chm: error: no-such-chmcmd did not write it (Free "
     "Pascal's CHM compiler, Debian's package fp-utils)\n"},
    {"UnwritableFolder",
     {"DIR/good.txt", "--hlp", "DIR/missing/good.hlp"},
     "chmcmd",
     "DIR/missing/good.hlp: error: cannot be written (No such file or directory)\n"},
    {"OutputIsTheSource",
     {"DIR/good.txt", "--hlp", "DIR/./good.txt"},
     "chmcmd",
     "DIR/./good.txt: error: is the help source itself; name another output\n"},
    {"OutputIsTheSourceByAnotherPath",
     {"DIR/good.txt", "--chm", "DIR/../LAST/good.txt"},
     "chmcmd",
     "DIR/../LAST/good.txt: error: is the help source itself; name another output\n"},
    {"BothOutputsOneFile",
     {"DIR/good.txt", "--hlp", "DIR/x", "--chm", "DIR//x"},
     "chmcmd",
     "DIR/x: error: is named for both --hlp and --chm\n"},
    {"OutputIsAFolder",
     {"DIR/good.txt", "--hlp", "DIR"},
     "chmcmd",
     "DIR: error: is a folder; name the file to write\n"},
};
INSTANTIATE_TEST_SUITE_P(Cases, HelpCompilerFailure, ::testing::ValuesIn(kFailures), CaseName());

}  // namespace
