#include "shell/numeric_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kovaro;

TEST(ParseReal, AcceptedTexts) {
  const std::pair<const char*, Real> cases[] = {{"12", 12},
                                                {"   12", 12},
                                                {"+1.5", 1.5L},
                                                {"-2.25", -2.25L},
                                                {"1e-6", 1E-6L},
                                                {"1E3", 1000},
                                                {"1e+3", 1000},
                                                {".", 0},
                                                {"-.", 0},
                                                {"5.", 5},
                                                {".5", 0.5L},
                                                {"E5", 0},
                                                {"-e5", 0},
                                                {"3.0", 3},
                                                {"0.0001", 0.0001L},
                                                {"1e-99999", 0},
                                                {"5.07e-9", 5.07E-9L},
                                                {"1E4000", 1E4000L}};
  for (const auto& [text, value] : cases) {
    const auto parsed = ParseReal(text);
    ASSERT_TRUE(parsed.has_value()) << text;
    EXPECT_EQ(*parsed, value) << text;
  }
  EXPECT_TRUE(std::signbit(*ParseReal("-0")));
}

TEST(ParseReal, RefusedTexts) {
  for (const char* text : {"",
                           " ",
                           "-",
                           "+",
                           "12 ",
                           "1,5",
                           "1.5.2",
                           "\t12",
                           "12\n",
                           "e",
                           "1e",
                           "1e+",
                           "--1",
                           "- 1",
                           "1 000",
                           "0x10",
                           "$1",
                           "nan",
                           "inf",
                           "1e99999",
                           "-1e99999",
                           "1.5a",
                           "\xef\xbc\x91\xef\xbc\x92"}) {
    EXPECT_FALSE(ParseReal(text).has_value()) << '"' << text << '"';
  }
}

TEST(ParseInt, DecimalAndHexadecimal) {
  const std::pair<const char*, int32_t> cases[] = {{"12", 12},
                                                   {"  -7", -7},
                                                   {"+8", 8},
                                                   {"012", 12},
                                                   {"$10", 16},
                                                   {"0x1F", 31},
                                                   {"0X1f", 31},
                                                   {"x10", 16},
                                                   {"X10", 16},
                                                   {"$FFFFFFFF", -1},
                                                   {"-$10", -16},
                                                   {"$000000001", 1},
                                                   {"-2147483648", std::numeric_limits<int32_t>::min()},
                                                   {"2147483647", 2147483647},
                                                   {"-$80000000", std::numeric_limits<int32_t>::min()},
                                                   {"0", 0}};
  for (const auto& [text, value] : cases) {
    const auto parsed = ParseInt(text);
    ASSERT_TRUE(parsed.has_value()) << text;
    EXPECT_EQ(*parsed, value) << text;
  }
  for (const char* text : {"", " ", "-", "2147483648", "-2147483649", "3.0", "1e3", "12 ", "+-1", "0x", "$",
                           "x", "$100000000", "$G", "\t1", "99999999999999999999"}) {
    EXPECT_FALSE(ParseInt(text).has_value()) << '"' << text << '"';
  }
}

TEST(GeneralText, ShortestFixedOrScientificText) {
  const std::pair<Real, const char*> cases[] = {{300000, "300000"},
                                                {0.0001L, "0.0001"},
                                                {0.00001L, "1E-5"},
                                                {0.000002L, "2E-6"},
                                                {5.07E-9L, "5.07E-9"},
                                                {9.75L, "9.75"},
                                                {1E15L, "1E15"},
                                                {-0.5L, "-0.5"},
                                                {0, "0"},
                                                {-0.0L, "0"},
                                                {2.72E-8L, "2.72E-8"},
                                                {0.0358L, "0.0358"},
                                                {573000, "573000"},
                                                {1E-6L, "1E-6"},
                                                {0.001L, "0.001"},
                                                {999999999999999.0L, "999999999999999"},
                                                {9.75L / 300000, "3.25E-5"},
                                                {1.0L / 3, "0.333333333333333"},
                                                {2.0L / 3, "0.666666666666667"},
                                                {0.99999999999999995L, "1"},
                                                {123456789012345678.0L, "1.23456789012346E17"},
                                                {-1E-300L, "-1E-300"},
                                                {12.5L, "12.5"},
                                                {100, "100"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(GeneralText(value), text) << static_cast<double>(value);
}
