#pragma once

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
