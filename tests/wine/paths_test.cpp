#include "platform/paths.h"

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
  const std::pair<std::string, LaunchResult> cases[] = {
      {"D:\\PROGS\\ABC\\setup", LaunchResult::kFileNotFound},
      {"D:\\PROGS\\XYZ\\setup", LaunchResult::kPathNotFound},
      {"PROGS\\XYZ\\setup", LaunchResult::kPathNotFound},
      {"D:\\PROGS\\ABC", LaunchResult::kNothingToStart},
      {"D:\\PROGS\\ABC\\", LaunchResult::kNothingToStart},
      {"D:\\PROGS\\ABC\\" + std::string(1030, 's'), LaunchResult::kPathNotFound},
  };
  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(LaunchInDirectory(path, SW_SHOW), expected) << path.substr(0, 60);
    EXPECT_EQ(CurrentDirectory(), "D:\\") << path.substr(0, 60);
  }
}

// What the plain start cannot start for want of administrator rights (740) or because it is no program (193,
// or the code 11) goes to the shell: the file as the plain start found it, in full, its arguments, its
// directory, the default verb, no error box of the platform's, and done before the call returns.
TEST_F(PathsTest, LaunchHandsToTheShellWhatThePlainStartCannot) {
  for (const char* file : {"setup.exe", "czytaj.txt", "doc one.txt", "doc one.txt two", "tool.exe"})
    WriteTextFile(std::string("D:\\PROGS\\ABC\\") + file, "");
  MakeDirectories("D:\\PROGS\\ABC\\dir");
  const std::string abc = "D:\\PROGS\\ABC\\";
  const std::string shown = "|D:\\PROGS\\ABC|(none)|0x500|5";  // directory, verb, mask, show code
  struct Case {
    std::string path;
    UINT code;
    DWORD error;
    BOOL shellStarts;
    DWORD shellError;
    std::string shell;  // what reached the shell; empty: not asked
    LaunchResult expected;
  };
  const Case cases[] = {
      {abc + "setup /q", 0, 740, TRUE, 0, abc + "setup.exe|/q" + shown, LaunchResult::kStarted},
      {abc + "setup.exe", 11, 740, FALSE, ERROR_CANCELLED, abc + "setup.exe|(none)" + shown,
       LaunchResult::kDeclined},
      {abc + "czytaj.txt", 11, 193, TRUE, 0, abc + "czytaj.txt|(none)" + shown, LaunchResult::kStarted},
      {abc + "czytaj.txt", 11, 0, FALSE, ERROR_NO_ASSOCIATION, abc + "czytaj.txt|(none)" + shown,
       LaunchResult::kNotStarted},
      {abc + "czytaj.txt", 0, 193, FALSE, ERROR_FILE_NOT_FOUND, abc + "czytaj.txt|(none)" + shown,
       LaunchResult::kNotStarted},
      // The file named by the shortest part of the line that names one, the whole line included; a quoted
      // first word; the first word when no part names a file; a directory is no file.
      {abc + "doc one.txt two  three", 11, 193, TRUE, 0, abc + "doc one.txt|two  three" + shown,
       LaunchResult::kStarted},
      {abc + "doc one.txt two", 11, 193, TRUE, 0, abc + "doc one.txt|two" + shown, LaunchResult::kStarted},
      {abc + "\"doc one.txt\" \"a b\"", 11, 193, TRUE, 0, abc + "doc one.txt|\"a b\"" + shown,
       LaunchResult::kStarted},
      {abc + "brak.txt x y", 11, 193, TRUE, 0, abc + "brak.txt|x y" + shown, LaunchResult::kStarted},
      {abc + "dir x", 11, 193, TRUE, 0, abc + "dir|x" + shown, LaunchResult::kStarted},
      // Nothing for the shell: not found, started, or failed in another way.
      {abc + "setup.exe", 2, 2, TRUE, 0, "", LaunchResult::kFileNotFound},
      {abc + "setup.exe", 3, 3, TRUE, 0, "", LaunchResult::kPathNotFound},
      {abc + "tool.exe", 33, 0, TRUE, 0, "", LaunchResult::kStarted},
      {abc + "tool.exe", 5, 5, TRUE, 0, "", LaunchResult::kNotStarted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " failing with " + std::to_string(c.code) + "/" + std::to_string(c.error));
    FakeStart start{c.code, c.error, c.shellStarts, c.shellError, {}, {}};
    EXPECT_EQ(LaunchInDirectory(c.path, SW_SHOW, FakeStarters(start)), c.expected);
    EXPECT_EQ(start.plain, std::vector<std::string>{"D:\\PROGS\\ABC|" + c.path.substr(abc.size())});
    EXPECT_EQ(start.shell, c.shell.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.shell});
    EXPECT_EQ(CurrentDirectory(), "D:\\");
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
    EXPECT_EQ(LaunchInDirectory(c.path, SW_SHOW), LaunchResult::kStarted);
    EXPECT_EQ(CurrentDirectory(), c.start);
    ASSERT_TRUE(WaitForStartedPrograms());
    const std::string record = ReadTextFile("D:\\CD\\recorded.txt");
    EXPECT_EQ(record.substr(0, record.find('|')), c.directory);
    EXPECT_NE(record.find(c.command), std::string::npos) << record;
  }
  DeleteFileA("D:\\root_tool.exe");
}

}  // namespace
