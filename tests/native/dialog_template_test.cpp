#include "framework/dialog_template.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// The template forms the resource compiler writes, with the variable parts the program's own templates do not
// use: a menu, a window class and a title on the dialog, string classes and titles, creation data.

namespace {

// Template bytes: little-endian words and double words, zero-terminated UTF-16 texts, padding to 4 bytes.
class Bytes {
 public:
  Bytes& B(std::initializer_list<unsigned> values) {
    for (unsigned value : values) data.push_back(static_cast<unsigned char>(value));
    return *this;
  }
  Bytes& W(std::initializer_list<int> values) {
    for (int value : values)
      B({static_cast<unsigned>(value) & 0xFF, (static_cast<unsigned>(value) >> 8) & 0xFF});
    return *this;
  }
  Bytes& D(std::initializer_list<std::uint32_t> values) {
    for (std::uint32_t value : values) W({static_cast<int>(value & 0xFFFF), static_cast<int>(value >> 16)});
    return *this;
  }
  Bytes& T(const char* text) {
    for (; *text != '\0'; ++text) W({static_cast<unsigned char>(*text)});
    return W({0});
  }
  Bytes& Align() {
    while (data.size() % 4 != 0) B({0});
    return *this;
  }
  std::vector<unsigned char> data;
};

std::string Describe(const std::optional<DialogTemplate>& parsed) {
  if (!parsed) return "nothing";
  std::ostringstream out;
  out << std::hex << parsed->style << " " << parsed->exStyle << std::dec << " " << parsed->x << ","
      << parsed->y << " " << parsed->cx << "x" << parsed->cy;
  for (const DialogTemplateItem& item : parsed->items) {
    out << "; " << item.id << " " << std::hex << item.style << std::dec << " " << item.x << "," << item.y
        << " " << item.cx << "x" << item.cy;
  }
  return out.str();
}

struct TemplateCase {
  const char* name;
  std::vector<unsigned char> bytes;
  std::string expected;
};

// clang-format off
// Ordinals are 0xFFFF and a word; rectangles x, y, cx, cy.
const std::vector<TemplateCase> kCases = {
    {"extended: menu, class and title as strings, font, string class, creation data of odd length",
     Bytes()
         .W({1, 0xFFFF}).D({7, 0x80, 0x80000040}).W({2, 3, -4, 200, 100})
         .T("MENU").T("MyClass").T("Title").W({8, 700}).B({1, 238}).T("MS Sans Serif")
         .Align().D({0, 0x20, 0x50010000}).W({-2, 5, 30, 12}).D({70000}).T("button").W({0xFFFF, 150})
         .W({3}).B({9, 9, 9})
         .Align().D({0, 0, 0x5000000E}).W({0, 0, 427, 295}).D({0xFFFFFFFF}).W({0xFFFF, 0x82}).T("Picture")
         .W({0})
         .data,
     "80000040 80 3,-4 200x100; 70000 50010000 -2,5 30x12; 4294967295 5000000e 0,0 427x295"},
    {"extended without a font: menu and class as ordinals, no items",
     Bytes().W({1, 0xFFFF}).D({0, 0, 0x80000000}).W({0, 0, 0, 10, 20, 0xFFFF, 5, 0xFFFF, 0x8002}).T("").data,
     "80000000 0 0,0 10x20"},
    {"older form: font without weight, 16-bit id, ordinal class and title, creation data",
     Bytes()
         .D({0x40000040, 0x4}).W({1, 1, 2, 30, 40, 0, 0xFFFF, 0x8002}).T("T").W({9}).T("Font")
         .Align().D({0x5000000E, 0}).W({5, 6, 7, 8, 0xFFFF, 0xFFFF, 0x82, 0xFFFF, 150, 2}).B({1, 2})
         .data,
     "40000040 4 1,2 30x40; 65535 5000000e 5,6 7x8"},
};
// clang-format on

TEST(DialogTemplateTest, ReadsTheGeometryOfEveryForm) {
  for (const TemplateCase& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Describe(ParseDialogTemplate(c.bytes.data(), c.bytes.size())), c.expected);
  }
}

TEST(DialogTemplateTest, EveryCutShortTemplateGivesNothing) {
  for (const TemplateCase& c : kCases) {
    SCOPED_TRACE(c.name);
    for (std::size_t size = 0; size < c.bytes.size(); ++size) {
      // A copy of exactly that size, so that a read past its end is caught by the sanitizers.
      const std::vector<unsigned char> cut(c.bytes.begin(),
                                           c.bytes.begin() + static_cast<std::ptrdiff_t>(size));
      EXPECT_EQ(Describe(ParseDialogTemplate(cut.data(), cut.size())), "nothing") << size << " bytes";
    }
  }
}

}  // namespace
