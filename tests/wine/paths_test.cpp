#include "app/paths.h"

#include <gtest/gtest.h>

#include "tests/wine/test_support.h"

using namespace testing_support;

namespace {

// D:\ is the disc root; D:\PROGS\ABC exists, D:\PROGS\XYZ does not.
class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentDirectory();
    RemoveTree("D:\\PROGS");
    RemoveTree("D:\\CD");
    MakeDirectories("D:\\PROGS\\ABC");
    MakeDirectories("D:\\CD");
    SetCurrentDirectoryOrDie("D:\\");
  }
  void TearDown() override {
    SetCurrentDirectoryOrDie(saved_);
    RemoveTree("D:\\PROGS");
    RemoveTree("D:\\CD");
  }
  std::string saved_;
};

struct ResolveCase {
  const char* start;
  std::string input;
  std::string expected;
};

TEST_F(PathsTest, ResolvePathTable) {
  const std::string longName(1020, 'x');
  const ResolveCase cases[] = {
      {"D:\\", ".\\prog.txt", "D:\\prog.txt"},
      {"D:\\", "prog.txt", "D:\\prog.txt"},
      {"D:\\", "PROGS\\ABC", "D:\\PROGS\\ABC"},
      {"D:\\", "PROGS\\ABC\\", "D:\\PROGS\\ABC"},
      {"D:\\", "PROGS\\ABC\\setup", "D:\\PROGS\\ABC\\setup"},
      {"D:\\", "PROGS\\XYZ\\setup", "PROGS\\XYZ\\setup"},
      {"D:\\", "\\kat1.txt", "\\kat1.txt"},
      {"D:\\", ".", "D:\\"},
      {"D:\\", "PROGS\\ABC\\..\\ABC\\setup", "D:\\PROGS\\ABC\\setup"},
      {"D:\\", "D:\\PROGS\\ABC\\run me.exe", "D:\\PROGS\\ABC\\run me.exe"},
      {"D:\\", "", "D:\\"},
      {"D:\\CD", ".\\prog.txt", "D:\\CD\\prog.txt"},
      {"D:\\CD", "..", "D:\\"},
      {"D:\\CD", "..\\PROGS\\ABC\\setup", "D:\\PROGS\\ABC\\setup"},
      // A file at the root of a drive stays there, whatever the current directory on that drive.
      {"D:\\CD", "D:\\prog.txt", "D:\\prog.txt"},
      {"D:\\CD", "D:\\CD\\prog.txt", "D:\\CD\\prog.txt"},
      // Too long to hold, as given or once made absolute: left as it is rather than cut short.
      {"D:\\", std::string(1024, 'a'), std::string(1024, 'a')},
      {"D:\\CD", longName, longName},
      {"D:\\", longName, "D:\\" + longName},
  };
  // The load's resolver, shared by every case and asked twice for each: what it remembers of earlier paths
  // and current directories must never change an answer.
  PathResolver shared;
  for (const ResolveCase& c : cases) {
    SetCurrentDirectoryOrDie(c.start);
    std::string path = c.input;
    ResolvePath(path);
    EXPECT_EQ(path, c.expected) << "from " << c.start << " resolving " << c.input.substr(0, 60);
    EXPECT_EQ(CurrentDirectory(), c.start) << "resolving " << c.input.substr(0, 60);
    for (int pass = 0; pass < 2; ++pass) {
      std::string again = c.input;
      shared.Resolve(again);
      EXPECT_EQ(again, c.expected) << "pass " << pass << " from " << c.start << " resolving "
                                   << c.input.substr(0, 60);
    }
  }
}

TEST_F(PathsTest, LaunchReportsMissingFileAndPathAndLeavesDirectory) {
  struct Case {
    std::string path;
    bool expectNotFound;
    unsigned expected;
  };
  const Case cases[] = {
      {"D:\\PROGS\\ABC\\setup", true, 2}, {"D:\\PROGS\\XYZ\\setup", true, 3},
      {"PROGS\\XYZ\\setup", true, 3},     {"D:\\PROGS\\ABC", false, 0},
      {"D:\\PROGS\\ABC\\", false, 0},     {"D:\\PROGS\\ABC\\" + std::string(1030, 's'), true, 3},
  };
  for (const Case& c : cases) {
    const unsigned result = LaunchInDirectory(c.path, SW_SHOW);
    if (c.expectNotFound) {
      EXPECT_EQ(result, c.expected) << c.path.substr(0, 60);
    } else {
      EXPECT_NE(result, 2u) << c.path;
      EXPECT_NE(result, 3u) << c.path;
    }
    EXPECT_EQ(CurrentDirectory(), "D:\\") << c.path.substr(0, 60);
  }
}

// A program starts in its own directory, with its arguments, from wherever the process is; the current
// directory is given back. A file at the root of the current drive, named with its drive or with a leading
// backslash, starts in that root.
TEST_F(PathsTest, LaunchStartsTheProgramInItsOwnDirectory) {
  struct Case {
    const char* start;
    const char* path;
    const char* directory;  // where it started
    const char* command;    // the command line it was given
  };
  const Case cases[] = {
      {"D:\\CD", "D:\\PROGS\\ABC\\tool /q", "D:\\PROGS\\ABC", "tool /q"},
      {"D:\\", "PROGS\\ABC\\tool.exe", "D:\\PROGS\\ABC", "tool.exe"},
      {"D:\\CD", "D:\\root_tool.exe", "D:\\", "root_tool.exe"},
      {"D:\\", "D:\\root_tool.exe", "D:\\", "root_tool.exe"},
      {"D:\\CD", "\\root_tool.exe", "D:\\", "root_tool.exe"},
      {"D:\\", "\\root_tool.exe", "D:\\", "root_tool.exe"},
      {"D:\\PROGS\\ABC", "\\root_tool.exe /q", "D:\\", "root_tool.exe /q"},
  };
  InstallRecorder("D:\\PROGS\\ABC\\tool.exe");
  InstallRecorder("D:\\root_tool.exe");
  RecordTo("D:\\CD\\recorded.txt");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " from " + c.start);
    DeleteFileA("D:\\CD\\recorded.txt");
    SetCurrentDirectoryOrDie(c.start);
    EXPECT_GT(LaunchInDirectory(c.path, SW_SHOW), 31u);
    EXPECT_EQ(CurrentDirectory(), c.start);
    ASSERT_TRUE(WaitForStartedPrograms());
    const std::string record = ReadTextFile("D:\\CD\\recorded.txt");
    EXPECT_EQ(record.substr(0, record.find('|')), c.directory);
    EXPECT_NE(record.find(c.command), std::string::npos) << record;
  }
  DeleteFileA("D:\\root_tool.exe");
}

}  // namespace
