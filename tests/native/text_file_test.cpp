#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "disc/text_file.h"
#include "temp_dir.h"
#include "case_name.h"

namespace {

std::vector<std::string> Lines(TextFile& file) {
  std::vector<std::string> lines;
  std::string line;
  while (file.ReadLine(line)) lines.push_back(line);
  return lines;
}

struct LineCase {
  const char* name;
  std::string contents;
  std::vector<std::string> lines;
};

const std::string kChunkFill(64 * 1024 - 1, 'x');

const std::vector<LineCase> kLineCases = {
    {"empty file", "", {}},
    {"one LF", "\n", {""}},
    {"LF lines", "a\nb\n", {"a", "b"}},
    {"CRLF lines", "a\r\nb\r\n", {"a", "b"}},
    {"last line without LF", "a\nb", {"a", "b"}},
    {"lone CR stays", "a\rb\n", {"a\rb"}},
    {"only the CR before LF goes", "a\r\r\n", {"a\r"}},
    {"CR at end of file stays", "a\r", {"a\r"}},
    {"blank lines count", "\n\r\n\n", {"", "", ""}},
    // Ctrl-Z (0x1a) ends the file as in text mode: neither it nor anything after it is read.
    {"end mark after the last line", "a\nb\n\x1a", {"a", "b"}},
    {"end mark ends the last line", "a\nb\x1a", {"a", "b"}},
    {"end mark mid-line",
     "a\x1a"
     "b\nc\n",
     {"a"}},
    {"end mark alone on a line", "a\n\x1a\nb\n", {"a"}},
    {"end mark as the first byte",
     "\x1a"
     "a\n",
     {}},
    {"only the end mark", "\x1a", {}},
    {"end mark ends a CRLF line", "a\r\n\x1a\r\n", {"a"}},
    {"end mark last in a read chunk",
     kChunkFill + "\x1a"
                  "z\n",
     {kChunkFill}},
    {"end mark first in a read chunk",
     kChunkFill + "y\x1a"
                  "z\n",
     {kChunkFill + "y"}},
    {"CR before an end mark in the next chunk", kChunkFill + "\r\x1a\n", {kChunkFill + "\r"}},
    {"end mark in a later chunk", kChunkFill + "\n" + kChunkFill + "\x1a", {kChunkFill, kChunkFill}},
    {"NUL is text", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
    {"CRLF split over a read chunk", kChunkFill + "\r\nz", {kChunkFill, "z"}},
    {"LF first in a read chunk", kChunkFill + "y\nz", {kChunkFill + "y", "z"}},
    {"cp1250 bytes untouched", "\xa3\xf3\x64\xbc\n", {"\xa3\xf3\x64\xbc"}},
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class TextFileLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(TextFileLines, FromDisk) {
  TempDir dir;
  TextFile file;
  ASSERT_TRUE(file.Open(dir.Write("f.txt", GetParam().contents)));
  EXPECT_EQ(Lines(file), GetParam().lines);
}

TEST_P(TextFileLines, FromMemory) {
  TextFile file;
  ASSERT_TRUE(file.OpenFromString(GetParam().contents));
  EXPECT_EQ(Lines(file), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextFileLines, ::testing::ValuesIn(kLineCases), CaseName());

// Settings files are read whole by the platform, where Ctrl-Z is text like any other byte.
TEST(TextFile, EndMarkCanBeText) {
  TempDir dir;
  const std::string path = dir.Write("s.ini",
                                     "a\x1a"
                                     "b\n\x1a\nc");
  TextFile file;
  ASSERT_TRUE(file.Open(path, TextFile::EndMark::kIsText));
  EXPECT_EQ(Lines(file), (std::vector<std::string>{"a\x1a"
                                                   "b",
                                                   "\x1a", "c"}));
  ASSERT_TRUE(file.Open(path));
  EXPECT_EQ(Lines(file), std::vector<std::string>{"a"});
}

TEST(TextFile, LongLineIsNotCut) {
  TempDir dir;
  std::string longLine(1024 * 1024 + 7, 'q');
  longLine[1000] = '\r';
  TextFile file;
  ASSERT_TRUE(file.Open(dir.Write("long.txt", longLine + "\r\nend")));
  EXPECT_EQ(Lines(file), (std::vector<std::string>{longLine, "end"}));
}

TEST(TextFile, OpenFailsWithoutThrowing) {
  TempDir dir;
  TextFile file;
  EXPECT_FALSE(file.Open((dir.path() / "missing.txt").string()));
  EXPECT_FALSE(file.Open(dir.path().string()));  // a directory
  EXPECT_FALSE(file.Open(""));
  dir.Write("a", "x");
  EXPECT_FALSE(file.Open(dir.path().string() + std::string(1, '\0') + "a"));
  EXPECT_FALSE(file.IsOpen());
  std::string line = "stale";
  EXPECT_FALSE(file.ReadLine(line));
  EXPECT_EQ(line, "");
}

TEST(TextFile, CloseEndsReadingAndReopenStartsOver) {
  TempDir dir;
  const std::string path = dir.Write("f.txt", "one\ntwo\n");
  TextFile file;
  ASSERT_TRUE(file.Open(path));
  std::string line;
  ASSERT_TRUE(file.ReadLine(line));
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(file.ReadLine(line));
  ASSERT_TRUE(file.Open(path));
  ASSERT_TRUE(file.OpenFromString("mem"));  // replaces the open disk file
  EXPECT_EQ(Lines(file), std::vector<std::string>{"mem"});
}

TEST(TextFile, MoveCarriesTheReadPosition) {
  TextFile first;
  first.OpenFromString("a\nb\nc");
  std::string line;
  first.ReadLine(line);
  TextFile second(std::move(first));
  EXPECT_FALSE(first.IsOpen());  // NOLINT(bugprone-use-after-move): moved-from state is specified
  TextFile third;
  third = std::move(second);
  EXPECT_EQ(Lines(third), (std::vector<std::string>{"b", "c"}));
}

TEST(TrimLeading, RemovesOnlyLeadingWhiteSpace) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},         {" \t\n\v\f\r", ""}, {"  a b ", "a b "},
      {"\ta\t", "a\t"}, {"\xa0x", "\xa0x"},  {std::string("\0a", 2), std::string("\0a", 2)},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(TrimLeading(input), expected) << '"' << input << '"';
}

}  // namespace
