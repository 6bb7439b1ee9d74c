#pragma once

#include <string>
#include <string_view>

// The disc's text is in code page 1250, the Windows code page for Polish and Czech; the names of this
// machine's files, and what authors write today, are mostly UTF-8. Every conversion between them is made
// here, by one decoder and one encoder for each, with one policy for bad input:
// - UTF-8: a byte that does not begin a well-formed sequence (a stray continuation byte, C0, C1 or F5 to FF,
// a
//   lead byte without its continuation bytes, an overlong form, a surrogate, a code beyond U+10FFFF) decodes
//   to U+FFFD, one for each such byte, and decoding goes on at the next byte; a lead byte whose sequence the
//   end of the text cuts short decodes to one U+FFFD for everything from it to the end. This is how Windows
//   reads UTF-8, so a UTF-8 settings file reads here as the browser reads it.
// - code page 1250: every byte decodes (the five the code page leaves undefined stand for the C1 controls of
//   the same number, as Windows has them); a character the code page lacks encodes as '?', as Windows writes
//   it, and one beyond U+FFFF as two, one for each of its UTF-16 units.

constexpr char32_t kReplacementCharacter = 0xFFFD;

struct DecodedUtf8 {
  std::u32string codes;
  // Nothing was replaced: the text was UTF-8.
  bool valid = true;
};
DecodedUtf8 DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view codes);
// One character in UTF-8.
std::string Utf8(char32_t code);

// The encoding an author declares for the catalogue's text (tamo_pack --from): nothing about a file's bytes
// tells the two apart for certain ("STÓŁ" in code page 1250 is D3 A3, which is also UTF-8 for U+04E3).
enum class TextEncoding { kUtf8, kCodePage1250 };

// A text file's contents, decoded. A byte order mark says the file's encoding (UTF-8, UTF-16 LE or BE, the
// last two Notepad's "Unicode") and is dropped; a file without one is in the declared encoding. UTF-8 and
// UTF-16 are decoded strictly: what is not well formed decodes to U+FFFD, and the first such place is told.
struct DecodedText {
  enum class Form { kUtf8, kUtf16, kCodePage1250 };
  std::u32string codes;
  Form form = Form::kCodePage1250;
  bool byteOrderMark = false;
  // The line (from 1) of the first fault, 0 when there is none, and what it is.
  long long faultLine = 0;
  std::string fault;
};
DecodedText DecodeText(std::string_view bytes, TextEncoding declared);

std::u32string DecodeCodePage1250(std::string_view text);
std::string EncodeCodePage1250(std::u32string_view codes);
// The byte for one character, '?' when the code page lacks it.
char CodePage1250FromUnicode(char32_t code);
bool InCodePage1250(char32_t code);

// The two conversions between the encodings, each through the decoder and encoder above.
std::string Utf8FromCodePage1250(std::string_view text);
std::string CodePage1250FromUtf8(std::string_view text);

// "U+2192", as messages name a character.
std::string CodePointName(char32_t code);

// The text for one line of a terminal, in UTF-8: every control character (C0, DEL, C1) and every byte that is
// not part of well-formed UTF-8 is written as \xNN, so that nothing in a message can move the cursor, change
// the colours or break the line.
std::string PrintableUtf8(std::string_view text);
