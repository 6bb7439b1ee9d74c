#include "tests/wine/test_support.h"

#include <direct.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/gdi_object.h"

namespace testing_support {

std::string CurrentDirectory() {
  char buffer[2048] = {};
  return _getcwd(buffer, sizeof buffer - 1) != nullptr ? std::string(buffer) : std::string();
}

void SetCurrentDirectoryOrDie(const std::string& path) {
  if (_chdir(path.c_str()) != 0) {
    ADD_FAILURE() << "cannot enter " << path;
    std::abort();
  }
}

void MakeDirectories(const std::string& path) {
  for (std::size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

void WriteTextFile(const std::string& path, const std::string& contents) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  std::fwrite(contents.data(), 1, contents.size(), file);
  std::fclose(file);
}

std::string ReadTextFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::string();
  std::string contents;
  char chunk[4096];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) contents.append(chunk, got);
  std::fclose(file);
  return contents;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    PumpMessages();
    if (condition()) return true;
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(20);
  }
}

namespace {

// True for a program of the system directory. Wine starts its desktop process (explorer.exe) from the first
// process of a session that opens a window, and it outlives that process: it is no program of the test's.
bool IsSystemProgram(DWORD processId) {
  char system[MAX_PATH + 1] = {};
  const UINT systemLength = GetSystemDirectoryA(system, MAX_PATH);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return false;
  char image[MAX_PATH + 1] = {};
  DWORD imageLength = MAX_PATH;
  const bool named = QueryFullProcessImageNameA(process, 0, image, &imageLength) != FALSE;
  CloseHandle(process);
  return named && systemLength > 0 && _strnicmp(image, system, systemLength) == 0 &&
         image[systemLength] == '\\';
}

}  // namespace

std::vector<std::string> StartedPrograms() {
  std::vector<std::string> names;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  const DWORD self = GetCurrentProcessId();
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID == self && !IsSystemProgram(entry.th32ProcessID)) {
      names.push_back(entry.szExeFile);
    }
  }
  CloseHandle(snapshot);
  return names;
}

bool WaitForStartedPrograms(DWORD milliseconds) {
  std::vector<std::string> running;
  if (WaitUntil([&] { return (running = StartedPrograms()).empty(); }, milliseconds)) return true;
  ADD_FAILURE() << "still running: " << ::testing::PrintToString(running);
  return false;
}

std::string ExecutableDirectory() {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory = path;
  directory.erase(directory.rfind('\\'));
  return directory;
}

void InstallRecorder(const std::string& path) {
  const std::string recorder = ExecutableDirectory() + "\\..\\demo\\demo_program.exe";
  ASSERT_TRUE(CopyFileA(recorder.c_str(), path.c_str(), FALSE)) << recorder << " -> " << path;
}

void RecordTo(const std::string& path) {
  SetEnvironmentVariableA("TAMO_RECORD", path.empty() ? nullptr : path.c_str());
}

namespace {

FakeStart* fakeStart = nullptr;

UINT WINAPI FakePlainStart(LPCSTR commandLine, UINT) {
  fakeStart->plain.push_back(CurrentDirectory() + "|" + commandLine);
  SetLastError(fakeStart->plainError);
  return fakeStart->plainCode;
}

BOOL WINAPI FakeShellStart(SHELLEXECUTEINFOA* info) {
  auto text = [](const char* s) { return std::string(s != nullptr ? s : "(none)"); };
  char mask[16];
  std::snprintf(mask, sizeof mask, "0x%lx", static_cast<unsigned long>(info->fMask));
  fakeStart->shell.push_back(text(info->lpFile) + "|" + text(info->lpParameters) + "|" +
                             text(info->lpDirectory) + "|" + text(info->lpVerb) + "|" + mask + "|" +
                             std::to_string(info->nShow));
  SetLastError(fakeStart->shellError);
  return fakeStart->shellStarts;
}

}  // namespace

Starters FakeStarters(FakeStart& start) {
  fakeStart = &start;
  Starters starters;
  starters.plain = FakePlainStart;
  starters.shell = FakeShellStart;
  return starters;
}

namespace {

// Copies the area to a 32-bit top-down DIB and reads it back.
Pixels ReadPixels(HDC source, SIZE size) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC memory = CreateCompatibleDC(source);
  const HBITMAP section = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
  GdiFlush();
  const DWORD* first = static_cast<const DWORD*>(bits);
  Pixels pixels(first, first + static_cast<std::size_t>(size.cx) * size.cy);
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
  for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

}  // namespace

Pixels WindowPixels(HWND window, SIZE size) {
  const HDC dc = GetDC(window);
  Pixels pixels = ReadPixels(dc, size);
  ReleaseDC(window, dc);
  return pixels;
}

Pixels BitmapPixels(HBITMAP bitmap, SIZE size) {
  const HDC memory = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  Pixels pixels = ReadPixels(memory, size);
  SelectObject(memory, old);
  DeleteDC(memory);
  return pixels;
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info = {};
  GetObjectA(bitmap, sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

SIZE ClientSize(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

PictureMatch MatchPicture(HWND window, const char* name, int margin, int step) {
  PictureMatch match;
  const Bitmap picture = LoadBitmapResource(name);
  if (!picture) return match;
  const SIZE pictureSize = BitmapSize(picture.get());
  const SIZE clientSize = ClientSize(window);
  const SIZE both = {std::min(pictureSize.cx, clientSize.cx), std::min(pictureSize.cy, clientSize.cy)};
  const Pixels expected = BitmapPixels(picture.get(), both);
  const Pixels shown = WindowPixels(window, both);
  for (int y = margin; y < both.cy - margin; y += step) {
    for (int x = margin; x < both.cx - margin; x += step) {
      const std::size_t at = static_cast<std::size_t>(y) * both.cx + x;
      ++match.compared;
      match.equal += shown[at] == expected[at] ? 1 : 0;
    }
  }
  return match;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace testing_support
