#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/paths.h"

// Helpers shared by the tests that run under Wine. Drive D: is mapped by the test runner to a folder of the
// build tree (TAMO_DRIVE_D), standing in for the disc.
namespace testing_support {

std::string CurrentDirectory();
void SetCurrentDirectoryOrDie(const std::string& path);
// Creates the directory and its missing parents.
void MakeDirectories(const std::string& path);
// Deletes a directory tree; a missing one is fine.
void RemoveTree(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& contents);
// The file's bytes, or an empty string when it does not exist.
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);
// Polls `condition`, handling this thread's messages in between, until it holds; false when it still does not
// after `milliseconds`. Every test that waits for something waits with this, for the very thing it then
// checks.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = 30000);
// The file names of the programs this process started that are still running.
std::vector<std::string> StartedPrograms();
// Waits until every program this process started has ended; false, with a test failure naming the programs
// still running, after `milliseconds`.
bool WaitForStartedPrograms(DWORD milliseconds = 30000);
// The directory of the running test program, without a trailing backslash.
std::string ExecutableDirectory();
// Copies the disc's demo program to `path`. Started while TAMO_RECORD names a file (see RecordTo), it appends
// "<current directory>|<command line>" to that file instead of showing anything.
void InstallRecorder(const std::string& path);
// Makes programs started from now on record to `path` (an empty path: show themselves again).
void RecordTo(const std::string& path);

// What the fake starters (FakeStarters) answer and what they were given; they start nothing.
struct FakeStart {
  UINT plainCode = 33;  // the plain start's result, and the last error it leaves
  DWORD plainError = 0;
  BOOL shellStarts = TRUE;  // the shell's answer, and the last error it leaves
  DWORD shellError = 0;
  std::vector<std::string> plain;  // "<current directory>|<command line>", one a call
  std::vector<std::string> shell;  // "<file>|<arguments>|<directory>|<verb>|<mask>|<show code>", one a call
};
// Starters that answer from `start` and record into it, until FakeStarters is called again.
Starters FakeStarters(FakeStart& start);

// Pixels as 0x00RRGGBB, row by row from the top.
using Pixels = std::vector<DWORD>;
// The `size` area at the top-left corner of a window's client area, or of a bitmap, as the screen shows it.
Pixels WindowPixels(HWND window, SIZE size);
Pixels BitmapPixels(HBITMAP bitmap, SIZE size);
SIZE BitmapSize(HBITMAP bitmap);
SIZE ClientSize(HWND window);

// How far the window's client area shows the bitmap resource `name` drawn one to one from its top-left
// corner: the pixels compared (the part both cover, less `margin` on every side, every `step`-th in each
// direction; none when the resource is missing) and how many of them are equal.
struct PictureMatch {
  int compared = 0;
  int equal = 0;
};
PictureMatch MatchPicture(HWND window, const char* name, int margin = 0, int step = 1);

// Processes pending messages of this thread, so that posted work and paints happen before the test looks.
void PumpMessages();

}  // namespace testing_support
