#pragma once

#include <optional>
#include <string>

// The disc's text is in code page 1250, the Windows code page for Polish and Czech; what authors write today
// is mostly UTF-8.

// The byte for a Unicode code point, or '?' when the code page has none.
char CodePage1250FromUnicode(unsigned long code);

// The text in UTF-8, for a terminal or editor that expects it.
std::string Utf8FromCodePage1250(const std::string& text);

// The code points of UTF-8 text, or nothing when it is not valid UTF-8 (overlong forms and surrogates are
// not).
std::optional<std::u32string> DecodeUtf8(const std::string& text);

// One code point in UTF-8.
std::string Utf8(char32_t code);

// "U+2192", as messages name a character.
std::string CodePointName(char32_t code);

// Valid UTF-8 text whose every character the code page holds, in code page 1250.
std::string CodePage1250FromUtf8(const std::string& text);
