#include <gtest/gtest.h>

#include "app/paths.h"
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
  for (const auto& c : cases) {
    SetCurrentDirectoryOrDie(c.start);
    std::string path = c.input;
    ResolvePath(path);
    EXPECT_EQ(path, c.expected) << "from " << c.start << " resolving " << c.input;
    EXPECT_EQ(CurrentDirectory(), c.start) << "resolving " << c.input;
  }
}

}  // namespace
