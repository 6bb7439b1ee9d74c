// Reads what the running browser shows, from outside it, for the end-to-end tests: the tests press keys and
// move the mouse like a user (xdotool) and ask this program, started in the same Wine session, what the
// windows now say and where they are. One command a run; prints its answer in UTF-8 on standard output and
// exits 1 when no window fits. Texts are read as UTF-16: between processes, Wine hands ANSI text over only
// for the caller's own windows.
//
// A control is looked up in the visible, enabled dialog that has it: while a modal dialog runs its owner is
// disabled, so this is the dialog the user is dealing with.
//
//   probe windows         visible top-level windows: "<class>|<text>|<x>,<y>,<w>,<h>"
//   probe has ID          exits 0 when such a dialog has control ID
//   probe text ID         the control's text
//   probe enabled ID      1 or 0
//   probe center ID       the control's centre on the screen: "x y"
//   probe rows            the rows of the main window's list, the selected one marked with "*"
//   probe rowcenter N     the centre of row N of that list on the screen: "x y"
//   probe message         the text of the message box on the screen
//   probe close CLASS     asks every visible top-level window of the class to close, as its close box does
//   probe drive           drive D:'s type ("cdrom" or the type's number) and whether a new file can be
//                         written to its root ("written" or "refused")
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kList = 1021;
constexpr int kMessageText = 0xFFFF;

std::string Utf8(const wchar_t* text) {
  char buffer[16384] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  return buffer;
}

// GetWindowText of another process's window returns the window's stored caption; the current text of an edit
// control has to be asked for with WM_GETTEXT.
std::string Text(HWND window) {
  wchar_t buffer[8192] = {};
  SendMessageW(window, WM_GETTEXT, 8191, reinterpret_cast<LPARAM>(buffer));
  return Utf8(buffer);
}

BOOL CALLBACK PrintWindowLine(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  char name[128] = {};
  GetClassNameA(window, name, sizeof name);
  RECT r;
  GetWindowRect(window, &r);
  std::printf("%s|%s|%ld,%ld,%ld,%ld\n", name, Text(window).c_str(), r.left, r.top, r.right - r.left,
              r.bottom - r.top);
  return TRUE;
}

struct Search {
  int id;
  HWND found;
};

BOOL CALLBACK FindDialogWith(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32770" && IsWindowVisible(window) && IsWindowEnabled(window) &&
      GetDlgItem(window, search->id) != nullptr) {
    search->found = GetDlgItem(window, search->id);
    return FALSE;
  }
  return TRUE;
}

HWND Control(int id) {
  Search search{id, nullptr};
  EnumWindows(FindDialogWith, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void PrintCenter(HWND window, const RECT& client) {
  POINT p{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
  ClientToScreen(window, &p);
  std::printf("%ld %ld\n", p.x, p.y);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string command = argv[1];
  const int argument = argc > 2 ? std::atoi(argv[2]) : 0;
  if (command == "windows") {
    EnumWindows(PrintWindowLine, 0);
    return 0;
  }
  if (command == "close" && argc > 2) {
    HWND window = nullptr;
    bool found = false;
    while ((window = FindWindowExA(nullptr, window, argv[2], nullptr)) != nullptr) {
      if (IsWindowVisible(window)) found = PostMessageA(window, WM_CLOSE, 0, 0) || found;
    }
    return found ? 0 : 1;
  }
  if (command == "message") {
    HWND text = Control(kMessageText);
    if (text == nullptr) return 1;
    std::printf("%s\n", Text(text).c_str());
    return 0;
  }
  if (command == "drive") {
    const UINT type = GetDriveTypeA("D:\\");
    HANDLE file =
        CreateFileA("D:\\probe.tmp", GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool written = file != INVALID_HANDLE_VALUE;
    if (written) {
      CloseHandle(file);
      DeleteFileA("D:\\probe.tmp");
    }
    if (type == DRIVE_CDROM) {
      std::printf("cdrom");
    } else {
      std::printf("%u", type);
    }
    std::printf(" %s\n", written ? "written" : "refused");
    return 0;
  }
  if (command == "rows" || command == "rowcenter") {
    HWND list = Control(kList);
    if (list == nullptr) return 1;
    if (command == "rowcenter") {
      RECT r;
      if (SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(argument), reinterpret_cast<LPARAM>(&r)) ==
          LB_ERR)
        return 1;
      PrintCenter(list, r);
      return 0;
    }
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    for (int row = 0; row < count; ++row) {
      wchar_t buffer[4096] = {};
      if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0) < 4096) {
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer));
      }
      std::printf("%s%s\n", row == selected ? "*" : "", Utf8(buffer).c_str());
    }
    return 0;
  }
  HWND control = Control(argument);
  if (control == nullptr) return 1;
  if (command == "has") return 0;
  if (command == "text") {
    std::printf("%s\n", Text(control).c_str());
  } else if (command == "enabled") {
    std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
  } else if (command == "center") {
    RECT r;
    GetClientRect(control, &r);
    PrintCenter(control, r);
  } else {
    return 2;
  }
  return 0;
}
