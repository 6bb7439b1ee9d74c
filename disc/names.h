#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows matches the names of files and folders on a CD without regard to case, by the upper-case form of
// each character. Names are compared as decoded characters, never as bytes: the disc's own text names files
// in code page 1250, this machine's file system in UTF-8, and the same letter is other bytes in each.

// The upper-case form Windows matches by: a-z, and every lower-case letter of code page 1250 (the Latin-1
// letters à to þ, ÿ, and the Latin Extended-A ones: ą, č, ł, ő, ř, ś, ů, ż and the rest).
char32_t UpperCase(char32_t code);

bool SameName(std::u32string_view a, std::u32string_view b);
// A name of the disc's text (code page 1250) against one of this machine (UTF-8).
bool SameName(std::string_view discName, std::string_view machineName);

// Why Windows cannot open a file or folder of this name, or nothing when it can: a device's name (CON, PRN,
// AUX, NUL, COM1 to COM9, LPT1 to LPT9), with any extension and in any case, opens the device; a dot or a
// space at the end is dropped from the name when it is looked up, so another name is opened.
std::optional<std::string> WhyWindowsCannotOpen(std::u32string_view name);
