#include <gtest/gtest.h>

#include <set>
#include <string>

#include "disc/code_page.h"
#include "disc/finding.h"
#include "disc/names.h"

namespace {

constexpr char32_t kBad = kReplacementCharacter;

TEST(Codec, Utf8DecodesWithOnePolicyForBadInput) {
  const struct {
    std::string in;
    std::u32string codes;
    bool valid;
  } cases[] = {
      {"", U"", true},
      {"plain", U"plain", true},
      {"\xc5\xbb\xc3\xb3\xc5\x82w \xe2\x82\xac \xf0\x9f\x98\x80", U"\u017b\u00f3\u0142w \u20ac \U0001F600",
       true},
      // Each byte that begins nothing well-formed is one replacement, and decoding goes on after it.
      {"a\x80z", {'a', kBad, 'z'}, false},
      {"\xc0\x80x", {kBad, kBad, 'x'}, false},                // overlong
      {"\xed\xa0\x80x", {kBad, kBad, kBad, 'x'}, false},      // surrogate
      {"\xf4\x90\x80\x80", {kBad, kBad, kBad, kBad}, false},  // beyond U+10FFFF
      {"\xf5\xff", {kBad, kBad}, false},
      {"\xe6\x9a\n", {kBad, kBad, '\n'}, false},  // broken by a line end
      // A sequence the end of the text cuts short is one replacement for all the rest.
      {"x\xe6", {'x', kBad}, false},
      {"\xb9\xe6\xea", {kBad, kBad}, false},
      {"\xf0\x9f\x98", {kBad}, false},
  };
  for (const auto& c : cases) {
    const DecodedUtf8 decoded = DecodeUtf8(c.in);
    EXPECT_EQ(decoded.codes, c.codes) << c.in;
    EXPECT_EQ(decoded.valid, c.valid) << c.in;
    if (c.valid) {
      EXPECT_EQ(EncodeUtf8(decoded.codes), c.in);
    }
  }
}

TEST(Codec, CodePage1250RoundTripsEveryByteAndMarksWhatItLacks) {
  std::string everyByte;
  for (int byte = 1; byte < 256; ++byte) everyByte += static_cast<char>(byte);
  const std::u32string codes = DecodeCodePage1250(everyByte);
  EXPECT_EQ(codes.size(), everyByte.size());
  EXPECT_EQ(EncodeCodePage1250(codes), everyByte);
  EXPECT_EQ(CodePage1250FromUtf8(Utf8FromCodePage1250(everyByte)), everyByte);
  EXPECT_EQ(Utf8FromCodePage1250("\xaf\xf3\xb3w \x8a\xe8\xf8\xf9"),
            "\u017b\u00f3\u0142w \u0160\u010d\u0159\u016f");
  // What the code page lacks is '?', a character beyond U+FFFF two (its two UTF-16 units), bad UTF-8 '?'.
  EXPECT_EQ(EncodeCodePage1250(U"\u4e2d\U0001F600\u20ac"), "???\x80");
  EXPECT_EQ(CodePage1250FromUtf8("a\xc4z\xe6"), "a?z?");
  EXPECT_TRUE(InCodePage1250(U'\u0142'));
  EXPECT_FALSE(InCodePage1250(U'\u0153'));
}

// The case pairs of code page 1250, written out by hand: upper-case byte, lower-case byte.
bool CasePair(int a, int b) {
  static const std::set<std::pair<int, int>> pairs = [] {
    std::set<std::pair<int, int>> all{{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F},
                                      {0xA3, 0xB3}, {0xA5, 0xB9}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xBC, 0xBE}};
    for (int upper = 'A'; upper <= 'Z'; ++upper) all.insert({upper, upper + 32});
    for (int upper = 0xC0; upper <= 0xDE; ++upper) {
      if (upper != 0xD7) all.insert({upper, upper + 32});
    }
    return all;
  }();
  return pairs.count({a, b}) != 0 || pairs.count({b, a}) != 0;
}

TEST(Names, MatchWithoutCaseOverEveryLetterOfTheCodePage) {
  for (int a = 0x20; a < 0x100; ++a) {
    for (int b = 0x20; b < 0x100; ++b) {
      const std::u32string x = DecodeCodePage1250(std::string(1, static_cast<char>(a)));
      const std::u32string y = DecodeCodePage1250(std::string(1, static_cast<char>(b)));
      ASSERT_EQ(SameName(x, y), a == b || CasePair(a, b)) << std::hex << a << " " << b;
    }
  }
}

TEST(Names, CompareTheDiscsTextWithThisMachinesNamesDecoded) {
  const struct {
    std::string disc, machine;
    bool same;
  } cases[] = {
      {"\xaf"
       "ABA",
       "\xc5\xbb"
       "ABA",
       true},
      {"\xaf"
       "ABA",
       "\xc5\xbc"
       "aba",
       true},
      {"\xd8\xc9\xc8"
       "KA",
       "\xc5\x99\xc3\xa9\xc4\x8dka", true},
      {"\xaf"
       "ABA",
       "\xaf"
       "ABA",
       false},  // the same bytes, but not the same letters
      {"ZABA",
       "\xc5\xbb"
       "ABA",
       false},
      {"\xbf", "\xc5", false},  // a name of this machine that is not UTF-8 matches nothing
  };
  for (const auto& c : cases) EXPECT_EQ(SameName(c.disc, c.machine), c.same) << c.disc << " " << c.machine;
}

TEST(Findings, EveryCodeHasItsOwnName) {
  std::set<std::string> names;
  for (int code = 0; code <= static_cast<int>(FindingCode::kAutorunNoOpen); ++code) {
    const std::string name = FindingCodeName(static_cast<FindingCode>(code));
    EXPECT_NE(name, "unknown");
    EXPECT_TRUE(names.insert(name).second) << name;
  }
  EXPECT_EQ(FormatFinding({Finding::Severity::kWarning, FindingCode::kNoRunFile, "prog.txt", 3, "text"}),
            "prog.txt(3): warning: text [no-run-file]");
}

}  // namespace
