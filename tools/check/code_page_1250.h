#pragma once

#include <string>

// The disc's text is in code page 1250, the Windows code page for Polish and Czech.

// The byte for a Unicode code point, or '?' when the code page has none.
char CodePage1250FromUnicode(unsigned long code);

// The text in UTF-8, for a terminal or editor that expects it.
std::string Utf8FromCodePage1250(const std::string& text);
