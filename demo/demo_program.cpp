// The programs and installers of the sample disc, all built from this one source: started from the catalogue,
// it shows under which name, in which directory and with which arguments it was started, so a user sees that
// the run and install buttons work. With TAMO_RECORD set (the tests), it shows nothing and appends one line,
// "<current directory>|<command line>", to that file instead, proving how and where it was started.
#include <windows.h>

#include <direct.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

int Record(const char* target) {
  char cwd[1024] = {};
  _getcwd(cwd, sizeof cwd - 1);
  std::FILE* out = std::fopen(target, "ab");
  if (out == nullptr) return 1;
  std::fprintf(out, "%s|%s\n", cwd, GetCommandLineA());
  std::fclose(out);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  const char* target = std::getenv("TAMO_RECORD");
  if (target != nullptr && target[0] != '\0') return Record(target);

  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const wchar_t* name = std::wcsrchr(path, L'\\') != nullptr ? std::wcsrchr(path, L'\\') + 1 : path;
  wchar_t cwd[1024] = {};
  GetCurrentDirectoryW(1023, cwd);
  wchar_t text[4096];
  std::swprintf(text, sizeof text / sizeof text[0],
                L"Program %ls działa / běží.\n\nKatalog / Adresář:\n%ls\n\nArgumenty / Argumenty:\n%hs", name,
                cwd, arguments != nullptr && arguments[0] != '\0' ? arguments : "-");
  MessageBoxW(nullptr, text, name, MB_OK | MB_ICONINFORMATION);
  return 0;
}
