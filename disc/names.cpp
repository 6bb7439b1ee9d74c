#include "disc/names.h"

#include "disc/code_page.h"

char32_t UpperCase(char32_t code) {
  if (code >= 'a' && code <= 'z') return code - 32;
  if (code >= 0xE0 && code <= 0xFE && code != 0xF7) return code - 32;
  if (code == 0xFF) return 0x178;
  // Latin Extended-A pairs its letters, upper case first: even codes from Ā to ķ and from Ŋ to ŷ, odd ones
  // from Ĺ to ň and from Ź to ž. Not ı, ĸ and ŉ, which have no upper-case form of their own, nor ſ.
  const bool evenUpper =
      (code >= 0x100 && code <= 0x137 && code != 0x131) || (code >= 0x14A && code <= 0x177);
  const bool oddUpper = (code >= 0x139 && code <= 0x148) || (code >= 0x179 && code <= 0x17E);
  if (evenUpper && code % 2 == 1) return code - 1;
  if (oddUpper && code % 2 == 0) return code - 1;
  return code;
}

bool SameName(std::u32string_view a, std::u32string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperCase(a[i]) != UpperCase(b[i])) return false;
  }
  return true;
}

bool SameName(std::string_view discName, std::string_view machineName) {
  return SameName(DecodeCodePage1250(discName), DecodeUtf8(machineName).codes);
}

std::optional<std::string> WhyWindowsCannotOpen(std::u32string_view name) {
  if (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
    // "." and ".." name the folder itself and the one above; they are never entries of their own.
    if (name == U"." || name == U"..") return std::nullopt;
    return std::string("the name ends in ") + (name.back() == '.' ? "a dot" : "a space") +
           ", which Windows drops when it looks the name up";
  }
  std::u32string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  std::string upper;
  for (const char32_t code : base) {
    const char32_t folded = UpperCase(code);
    if (folded >= 0x80) return std::nullopt;
    upper += static_cast<char>(folded);
  }
  const bool device =
      upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" ||
      (upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
       upper[3] >= '1' && upper[3] <= '9');
  if (!device) return std::nullopt;
  return "the name " + upper + " is a device's, with any extension; Windows opens the device, not the file";
}
