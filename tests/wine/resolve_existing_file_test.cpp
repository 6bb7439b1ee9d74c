#include <gtest/gtest.h>

#include "platform/paths.h"
#include "tests/wine/test_support.h"

using namespace testing_support;

namespace {

// Paths of files that exist: the resolver takes a found file as proof that its directory exists, and must
// give exactly what looking at the directory itself gives, also where the two lookups could differ.
class ResolveExistingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentDirectory();
    RemoveTree("D:\\FILES");
    MakeDirectories("D:\\FILES\\ABC\\opis");
    WriteTextFile("D:\\FILES\\ABC\\run.exe", "x");
    WriteTextFile("D:\\FILES\\ABC\\opis\\opis1.txt", "Title\r\n");
    SetCurrentDirectoryOrDie("D:\\");
  }
  void TearDown() override {
    SetCurrentDirectoryOrDie(saved_);
    RemoveTree("D:\\FILES");
  }
  std::string saved_;
};

TEST_F(ResolveExistingFileTest, ResolvesAsTheDirectoryWould) {
  const struct {
    const char* start;
    const char* input;
    const char* expected;
  } cases[] = {
      {"D:\\", "FILES\\ABC\\run.exe", "D:\\FILES\\ABC\\run.exe"},
      {"D:\\", "FILES\\ABC\\opis\\opis1.txt", "D:\\FILES\\ABC\\opis\\opis1.txt"},
      {"D:\\", "D:\\FILES\\ABC\\run.exe", "D:\\FILES\\ABC\\run.exe"},
      {"D:\\", "FILES\\ABC\\..\\ABC\\run.exe", "D:\\FILES\\ABC\\run.exe"},
      {"D:\\", "FILES\\ABC\\.\\run.exe", "D:\\FILES\\ABC\\run.exe"},
      {"D:\\", "FILES\\abc\\RUN.EXE", "D:\\FILES\\abc\\RUN.EXE"},
      {"D:\\FILES\\ABC", "run.exe", "D:\\FILES\\ABC\\run.exe"},
      {"D:\\FILES\\ABC\\opis", "..\\run.exe", "D:\\FILES\\ABC\\run.exe"},
      // A trailing dot or space of the directory part is dropped when it is looked up on its own.
      {"D:\\", "FILES\\ABC.\\run.exe", "D:\\FILES\\ABC\\run.exe"},
      {"D:\\", "FILES\\ABC \\run.exe", "D:\\FILES\\ABC\\run.exe"},
      // A file is not a directory, whatever follows it.
      {"D:\\", "FILES\\ABC\\run.exe\\", "FILES\\ABC\\run.exe\\"},
      {"D:\\", "FILES\\ABC\\run.exe\\x", "FILES\\ABC\\run.exe\\x"},
      // Found from the root of the drive, where the directory part is empty: left as it is.
      {"D:\\FILES", "\\FILES\\ABC\\run.exe", "D:\\FILES\\ABC\\run.exe"},
  };
  // The load's resolver, shared by every case and asked twice for each: what it remembers of earlier paths
  // and current directories must never change an answer.
  PathResolver shared;
  for (const auto& c : cases) {
    SetCurrentDirectoryOrDie(c.start);
    std::string path = c.input;
    ResolvePath(path);
    EXPECT_EQ(path, c.expected) << "from " << c.start << " resolving " << c.input;
    EXPECT_EQ(CurrentDirectory(), c.start) << "resolving " << c.input;
    for (int pass = 0; pass < 2; ++pass) {
      std::string again = c.input;
      shared.Resolve(again);
      EXPECT_EQ(again, c.expected) << "pass " << pass << " from " << c.start << " resolving " << c.input;
    }
  }
}

// Paths in the order a program list gives them, each followed by the forms of its directory that look alike
// but may name something else: the remembering resolver must answer each as a fresh look at the disc does.
TEST_F(ResolveExistingFileTest, RememberedDirectoriesAnswerAsTheDiscDoes) {
  const char* const sequence[] = {
      "FILES\\ABC\\run.exe",
      "FILES\\ABC\\",
      "FILES\\ABC",
      "FILES\\ABC\\\\",
      "FILES\\ABC.",
      "FILES\\ABC.\\",
      "FILES\\ABC ",
      "FILES\\ABC \\",
      "FILES\\ABC/",
      "FILES\\ABC/\\",
      "FILES\\ABC\\run.exe\\",
      "FILES\\ABC\\opis\\opis1.txt",
      "FILES\\ABC\\opis\\",
      "FILES\\ABC\\opis\\.",
      "FILES\\ABC\\opis\\.\\",
      "FILES\\ABC\\opis\\..",
      "FILES\\ABC\\opis\\..\\",
      "FILES\\ABC\\missing\\",
      "FILES\\ABC\\missing\\x",
      "D:\\FILES\\ABC\\",
      "D:",
      "D:\\",
      "\\FILES\\ABC\\",
      "",
      ".",
      ".\\",
      "..",
      "..\\",
      // Names in a directory already seen, some of which the platform reads in its own way.
      "FILES\\ABC\\opis",
      "FILES\\ABC\\OPIS",
      "FILES\\abc\\opis",
      "FILES\\ABC\\missing",
      "FILES\\ABC\\.",
      "FILES\\ABC\\..",
      "FILES\\ABC\\opis.",
      "FILES\\ABC\\opis ",
      "FILES\\ABC\\ opis",
      "FILES\\ABC\\run.exe:stream",
      "FILES\\ABC\\run.exe /q",
      "FILES\\ABC\\*",
      "FILES\\ABC\\run?.exe",
      "D:\\FILES",
      "D:\\FILES\\ABC\\opis\\opis1.txt",
      "D:\\FILES\\ABC\\opis\\x",
      "..\\FILES\\ABC\\opis",
      "FILES\\ABC\\opis\\..\\run.exe",
      "FILES\\ABC\\\\run.exe",
  };
  PathResolver shared;
  for (const char* start : {"D:\\", "D:\\FILES\\ABC\\opis"}) {
    SetCurrentDirectoryOrDie(start);
    for (int pass = 0; pass < 2; ++pass) {
      for (const char* input : sequence) {
        std::string fresh = input;
        ResolvePath(fresh);
        std::string remembered = input;
        shared.Resolve(remembered);
        EXPECT_EQ(remembered, fresh) << "pass " << pass << " from " << start << " resolving " << input;
      }
    }
  }
}

// What a relative directory text names depends on the current directory; after a move it is looked up anew.
TEST_F(ResolveExistingFileTest, ForgetsDirectoriesWhenTheCurrentDirectoryMoves) {
  MakeDirectories("D:\\FILES\\ABC\\SUB");
  PathResolver resolver;
  SetCurrentDirectoryOrDie("D:\\FILES\\ABC");
  std::string inside = "SUB\\x.exe";
  resolver.Resolve(inside);
  EXPECT_EQ(inside, "D:\\FILES\\ABC\\SUB\\x.exe");
  SetCurrentDirectoryOrDie("D:\\FILES");
  std::string outside = "SUB\\x.exe";
  resolver.Resolve(outside);
  EXPECT_EQ(outside, "SUB\\x.exe") << "D:\\FILES\\SUB does not exist";
  std::string directory = "ABC\\SUB\\";
  resolver.Resolve(directory);
  EXPECT_EQ(directory, "D:\\FILES\\ABC\\SUB");
}

}  // namespace
