// Stands in for a program that the browser starts (a program on the disc, an installer, the copy tool, the
// help viewer). It proves how and where it was started: it appends one line, "<current directory>|<command
// line>", to the file named by TAMO_RECORD, or to recorded.txt in its current directory.
#include <windows.h>

#include <direct.h>

#include <cstdio>
#include <cstdlib>

int main() {
  char cwd[1024] = {};
  _getcwd(cwd, sizeof cwd - 1);
  const char* target = std::getenv("TAMO_RECORD");
  std::FILE* out = std::fopen(target != nullptr && target[0] != '\0' ? target : "recorded.txt", "ab");
  if (out == nullptr) return 1;
  std::fprintf(out, "%s|%s\n", cwd, GetCommandLineA());
  std::fclose(out);
  return 0;
}
