#pragma once

#include <windows.h>

#include <string>

// The program file's name without its extension: the caption of every message box.
std::string ApplicationName();

// A modal message owned by `owner`, with the application's name as caption and a single OK button.
void ShowMessage(HWND owner, const std::string& text);
