#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "tests/native/case_name.h"
#include "tests/native/temp_dir.h"
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
     "h.txt(1): error: the character U+2192 \"→\" has no code in code page 1250\n"
     "h.txt(3): error: the character U+1F600 \"😀\" has no code in code page 1250\n"
     "h.txt(4): error: the control character U+001B\nh.txt: error: the help has no @title\n"},
    {"NotUtf8", "@title T\n@topic a A\nza\xbf\xf3\xb3\xe6\n", "h.txt(3): error: the text is not UTF-8\n"},
    {"OverlongUtf8IsNotUtf8", "@title T\n@topic a A\n\xc0\xaf\n", "h.txt(3): error: the text is not UTF-8\n"},
    {"DirectiveFaults",
     "text first\n@title\n@title T\n@topic\n@topic a A\n@topic A again\n@topic b-c B\n@title U\n@tpoic x X\n",
     "h.txt(1): error: text before the first @topic\nh.txt(2): error: @title needs the help's title\n"
     "h.txt(4): error: @topic needs an id and a title\nh.txt(6): error: the topic id 'A' is used already on "
     "line 5\n"
     "h.txt(7): error: the topic id 'b-c' may hold only letters, digits and '_'\n"
     "h.txt(8): error: @title given again (first on line 3)\nh.txt(9): error: unknown directive '@tpoic'\n"},
    {"LinkFaults", "@title T\n@topic a A\n[open\n\n[no target] [](a) [x](nowhere)\n#\n*\n[ok](a\n",
     "h.txt(3): error: a '[' that does not begin a link [text](topic_id) (write \\[ for the character)\n"
     "h.txt(5): error: a '[' that does not begin a link [text](topic_id) (write \\[ for the character)\n"
     "h.txt(5): error: a link without text\nh.txt(6): error: a heading without text\nh.txt(7): error: a list "
     "item without text\n"
     "h.txt(8): error: a '[' that does not begin a link [text](topic_id) (write \\[ for the character)\n"
     "h.txt(5): error: a link to the unknown topic 'nowhere'\n"},
    {"LongerThanTheViewerTakes",
     "@title ą" + std::string(127, 'x') + "\n@topic " + std::string(256, 'a') + " " +
         std::string(128, 'x') + "\n@topic b " + std::string(126, 'x') + "ř\n",
     "h.txt(1): error: the help's title is longer than 127 characters\n"
     "h.txt(2): error: the topic id is longer than 255 characters\n"
     "h.txt(2): error: the topic's title is longer than 127 characters\nh.txt: error: the help has no "
     "@title\n"},
    {"Empty", "", "h.txt: error: the help has no @title\nh.txt: error: the help has no @topic\n"},
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

// The whole compiler: both files from one source, the .chm read back with Debian's CHM tools.
TEST(HelpCompiler, WritesBothFilesAndTheChmHoldsOnePageATopic) {
  TempDir folder(std::map<std::string, std::string>{
      {"pl.txt",
       "@title Pomoc – zażółć\n@topic spis Spis\nZobacz [uruchamianie](run).\n"
       "@topic run Uruchamianie\n# Ręcznie\nPříliš {žluťoučký} kůň \\\\ c:\\tmp.\n"}});
  const std::string source = (folder.path() / "pl.txt").string();
  std::ostringstream out, err;
  ASSERT_EQ(RunHelpCompiler({source}, "halibut", out, err), 0) << err.str();
  EXPECT_EQ(err.str(), "");
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "pl.hlp"));

  const std::string chm = (folder.path() / "pl.chm").string();
  const std::string list = Output("enum_chmLib '" + chm + "'");
  for (const char* page : {"/spis.html", "/run.html", "/contents.hhc"})
    EXPECT_NE(list.find(page), std::string::npos) << list;
  const std::string pages = (folder.path() / "pages").string();
  Output("extract_chmLib '" + chm + "' '" + pages + "'");
  std::ifstream runPage(pages + "/run.html");
  const std::string run((std::istreambuf_iterator<char>(runPage)), std::istreambuf_iterator<char>());
  for (const char* text : {"Uruchamianie</h1>", "<strong>R&#281;cznie</strong>",
                           "P&#345;&#237;li&#353; {&#382;lu&#357;ou&#269;k&#253;} k&#367;&#328; \\ c:\\tmp."})
    EXPECT_NE(run.find(text), std::string::npos) << text << "\n" << run;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << entry.path();
}

struct FailureCase {
  const char* name;
  std::vector<std::string> arguments;  // "SRC" is the source, "OUT" the output folder
  const char* halibut;
  const char* expected;  // err's first line, with the folder as "DIR"
};

class HelpCompilerFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(HelpCompilerFailure, SaysWhyAndLeavesNoFile) {
  TempDir folder(std::map<std::string, std::string>{{"bad.txt", "@title T\n@topic a A\n[x](b)\n"},
                                                    {"good.txt", "@title T\n@topic a A\n"}});
  const std::string dir = folder.path().string();
  std::vector<std::string> arguments;
  for (std::string argument : GetParam().arguments) {
    for (std::size_t at; (at = argument.find("DIR")) != std::string::npos;) argument.replace(at, 3, dir);
    arguments.push_back(argument);
  }
  std::ostringstream out, err;
  EXPECT_EQ(RunHelpCompiler(arguments, GetParam().halibut, out, err), 2);
  std::string expected = GetParam().expected;
  for (std::size_t at; (at = expected.find("DIR")) != std::string::npos;) expected.replace(at, 3, dir);
  EXPECT_EQ(err.str().substr(0, err.str().find('\n')), expected);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++files;
  EXPECT_EQ(files, 2u) << "only the two sources";
}

const FailureCase kFailures[] = {
    {"FaultySource", {"DIR/bad.txt"}, "halibut", "DIR/bad.txt(3): error: a link to the unknown topic 'b'"},
    {"MissingSource", {"DIR/none.txt"}, "halibut", "DIR/none.txt: error: No such file or directory"},
    {"NoSource", {"--hlp", "DIR/x.hlp"}, "halibut", "usage: tamo_help SOURCE [--hlp FILE] [--chm FILE]"},
    {"NoHalibut",
     {"DIR/good.txt", "--chm", "DIR/good.chm"},
     "no-such-halibut",
     "DIR/good.chm: error: no-such-halibut did not write it (Debian's package halibut writes HTML help)"},
    {"UnwritableFolder",
     {"DIR/good.txt", "--hlp", "DIR/missing/good.hlp"},
     "halibut",
     "DIR/missing/good.hlp: error: cannot be written"},
};
INSTANTIATE_TEST_SUITE_P(Cases, HelpCompilerFailure, ::testing::ValuesIn(kFailures), CaseName());

}  // namespace
