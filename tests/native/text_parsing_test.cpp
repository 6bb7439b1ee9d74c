#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "catalog/text_parsing.h"

namespace {

TEST(AtoiSaturating, ConvertsLikeAtoi) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"12", 12},
      {"  \t12", 12},
      {"+7", 7},
      {"-1", -1},
      {"-0", 0},
      {"12abc", 12},
      {"abc", 0},
      {"", 0},
      {"- 5", 0},
      {"+-5", 0},
      {"\n\v\f\r9", 9},
      {"007", 7},
      {"2047;", 2047},
      {"1 2", 1},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(AtoiSaturating(text), expected) << '"' << text << '"';
}

TEST(AtoiSaturating, OverflowSaturatesInsteadOfWrapping) {
  // Wrapping would turn these into small, valid-looking category numbers.
  const std::vector<std::pair<std::string, int>> cases = {
      {"2147483648", INT_MAX},  {"4294967297", INT_MAX},  {"4294967296", INT_MAX},
      {"-2147483649", INT_MIN}, {"-4294967295", INT_MIN}, {"99999999999999999999999", INT_MAX},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(AtoiSaturating(text), expected) << text;
}

TEST(FillMessage, FillsPlaceholdersInOrder) {
  EXPECT_EQ(FillMessage("Error in line nr %d in file %s\n", 5, "D:\\kat1.txt"),
            "Error in line nr 5 in file D:\\kat1.txt\n");
  EXPECT_EQ(FillMessage("%d %s", -3, ""), "-3 ");
  EXPECT_EQ(FillMessage("100% sure %", 1, "p"), "100% sure %");
}

TEST(FillMessage, PathIsNeverAFormat) {
  EXPECT_EQ(FillMessage("in file %s line %d", 9, "D:\\100%s%d%n.txt"), "in file D:\\100%s%d%n.txt line 9");
}

}  // namespace
