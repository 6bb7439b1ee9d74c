#include "disc/code_page.h"

#include <cstdio>

namespace {

// Code page 1250, bytes 0x80 to 0xFF; the five bytes it leaves undefined stand for themselves.
constexpr unsigned short kCodePage1250[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

}  // namespace

namespace {

// The well-formed UTF-8 sequence at `at`: its character and length. Length 0 when none begins there; then
// `cutShort` tells a lead byte whose sequence the end of the text cuts short.
struct Utf8Sequence {
  char32_t code = kReplacementCharacter;
  std::size_t length = 0;
  bool cutShort = false;
};

Utf8Sequence ReadUtf8(std::string_view text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  char32_t code = byte;
  char32_t least = 0;
  if (byte < 0x80) {
    length = 1;
  } else if (byte >= 0xC2 && byte <= 0xDF) {
    length = 2;
    code = byte & 0x1F;
    least = 0x80;
  } else if (byte >= 0xE0 && byte <= 0xEF) {
    length = 3;
    code = byte & 0x0F;
    least = 0x800;
  } else if (byte >= 0xF0 && byte <= 0xF4) {
    length = 4;
    code = byte & 0x07;
    least = 0x10000;
  }
  if (length > text.size() - at) return {kReplacementCharacter, 0, true};
  bool wellFormed = length > 0;
  for (std::size_t k = 1; wellFormed && k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    wellFormed = (next & 0xC0) == 0x80;
    code = (code << 6) | (next & 0x3F);
  }
  wellFormed = wellFormed && code >= least && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
  if (!wellFormed) return {};
  return {code, length, false};
}

std::string ByteName(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02x", static_cast<unsigned>(byte));
  return text;
}

void DecodeUtf16(std::string_view bytes, bool bigEndian, DecodedText& text) {
  long long line = 1;
  const auto fault = [&](std::string what) {
    if (text.faultLine != 0) return;
    text.faultLine = line;
    text.fault = std::move(what);
  };
  const auto unit = [&](std::size_t at) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  };
  const std::size_t whole = bytes.size() - bytes.size() % 2;
  for (std::size_t at = 2; at < whole; at += 2) {
    const char32_t code = unit(at);
    if (code >= 0xD800 && code <= 0xDBFF && at + 2 < whole) {
      const char32_t low = unit(at + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        text.codes += 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        at += 2;
        continue;
      }
    }
    if (code >= 0xD800 && code <= 0xDFFF) {
      fault("the UTF-16 text holds half a character, the unpaired surrogate " + CodePointName(code));
      text.codes += kReplacementCharacter;
      continue;
    }
    text.codes += code;
    if (code == '\n') ++line;
  }
  if (whole != bytes.size()) {
    fault("the UTF-16 text ends in half a character: the file's length is an odd number of bytes");
    text.codes += kReplacementCharacter;
  }
}

}  // namespace

DecodedUtf8 DecodeUtf8(std::string_view text) {
  DecodedUtf8 decoded;
  decoded.codes.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Sequence sequence = ReadUtf8(text, i);
    if (sequence.length == 0) {
      decoded.codes += kReplacementCharacter;
      decoded.valid = false;
      if (sequence.cutShort) break;
      ++i;
      continue;
    }
    decoded.codes += sequence.code;
    i += sequence.length;
  }
  return decoded;
}

DecodedText DecodeText(std::string_view bytes, TextEncoding declared) {
  DecodedText text;
  const auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  if (startsWith("\xFF\xFE") || startsWith("\xFE\xFF")) {
    text.form = DecodedText::Form::kUtf16;
    text.byteOrderMark = true;
    DecodeUtf16(bytes, bytes[0] == '\xFE', text);
    return text;
  }
  text.byteOrderMark = startsWith("\xEF\xBB\xBF");
  if (!text.byteOrderMark && declared == TextEncoding::kCodePage1250) {
    text.codes = DecodeCodePage1250(bytes);
    return text;
  }
  text.form = DecodedText::Form::kUtf8;
  text.codes.reserve(bytes.size());
  long long line = 1;
  for (std::size_t i = text.byteOrderMark ? 3 : 0; i < bytes.size();) {
    const Utf8Sequence sequence = ReadUtf8(bytes, i);
    if (sequence.length == 0) {
      if (text.faultLine == 0) {
        text.faultLine = line;
        text.fault = "the text is not UTF-8: the byte " + ByteName(static_cast<unsigned char>(bytes[i])) +
                     (sequence.cutShort ? " begins a character the end of the file cuts short"
                                        : " is not part of a UTF-8 character");
      }
      text.codes += kReplacementCharacter;
      if (sequence.cutShort) break;
      ++i;
      continue;
    }
    text.codes += sequence.code;
    if (sequence.code == '\n') ++line;
    i += sequence.length;
  }
  return text;
}

std::string Utf8(char32_t code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

std::string EncodeUtf8(std::u32string_view codes) {
  std::string out;
  out.reserve(codes.size());
  for (const char32_t code : codes) out += Utf8(code);
  return out;
}

std::u32string DecodeCodePage1250(std::string_view text) {
  std::u32string codes;
  codes.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    codes += byte < 0x80 ? char32_t{byte} : char32_t{kCodePage1250[byte - 0x80]};
  }
  return codes;
}

bool InCodePage1250(char32_t code) {
  if (code < 0x80) return true;
  for (const unsigned short known : kCodePage1250) {
    if (known == code) return true;
  }
  return false;
}

char CodePage1250FromUnicode(char32_t code) {
  if (code < 0x80) return static_cast<char>(code);
  for (unsigned byte = 0; byte < 128; ++byte) {
    if (kCodePage1250[byte] == code) return static_cast<char>(0x80 + byte);
  }
  return '?';
}

std::string EncodeCodePage1250(std::u32string_view codes) {
  std::string out;
  out.reserve(codes.size());
  for (const char32_t code : codes) {
    // Windows converts through UTF-16: a character beyond it is two units, neither of which the code page
    // has.
    if (code >= 0x10000) out += '?';
    out += CodePage1250FromUnicode(code);
  }
  return out;
}

std::string Utf8FromCodePage1250(std::string_view text) { return EncodeUtf8(DecodeCodePage1250(text)); }

std::string CodePage1250FromUtf8(std::string_view text) { return EncodeCodePage1250(DecodeUtf8(text).codes); }

std::string CodePointName(char32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
  return text;
}

std::string PrintableUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Sequence sequence = ReadUtf8(text, i);
    const char32_t code = sequence.code;
    if (sequence.length == 0 || code < 0x20 || (code >= 0x7F && code < 0xA0)) {
      const std::size_t length = sequence.length == 0 ? 1 : sequence.length;
      for (std::size_t k = 0; k < length; ++k) out += ByteName(static_cast<unsigned char>(text[i + k]));
      i += length;
      continue;
    }
    out.append(text, i, sequence.length);
    i += sequence.length;
  }
  return out;
}
