#pragma once

#include <windows.h>

#include <string>

// The program file's name without its extension: the caption of every message box.
std::string ApplicationName();

// A modal message owned by `owner`, with the application's name as caption and a single OK button. It shows
// the pointer as it was before any wait cursor of the moment (see WaitCursor).
void ShowMessage(HWND owner, const std::string& text);
