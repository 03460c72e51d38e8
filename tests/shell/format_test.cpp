#include "shell/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "x87_only.h"

using kovaro::FormatInt;
using kovaro::FormatReal;
using kovaro::Real;

TEST(FormatReal, ScientificFormWidthsAndExponents) {
  EXPECT_EQ(FormatReal(0.0001L, 5, -1), " 1.0E-0004");
  EXPECT_EQ(FormatReal(0.0001L, 12, -1), " 1.000E-0004");
  EXPECT_EQ(FormatReal(-1234.5L, 15, -1), "-1.234500E+0003");
  EXPECT_EQ(FormatReal(0, 10, -1), " 0.0E+0000");
  EXPECT_EQ(FormatReal(1.2E-5L, 10, -1), " 1.2E-0005");
  EXPECT_EQ(FormatReal(0.0001L, 23, -1), " 1.00000000000000E-0004");
  EXPECT_EQ(FormatReal(-2.5L, 23, -1), "-2.50000000000000E+0000");
  // Widths below 10 still give ten characters; above 26 the text is padded.
  EXPECT_EQ(FormatReal(3, 1, -1), " 3.0E+0000");
  EXPECT_EQ(FormatReal(3, 30, -1), "     3.00000000000000000E+0000");
  // Rounding carries into a new leading digit and raises the exponent.
  EXPECT_EQ(FormatReal(9.96L, 10, -1), " 1.0E+0001");
  EXPECT_EQ(FormatReal(0.000996L, 10, -1), " 1.0E-0003");
}

TEST(FormatReal, ScaledValuesBetweenTenAndSixteenAreCutNotRounded) {
  EXPECT_EQ(FormatReal(12.6L, 10, -1), " 1.2E+0001");
  EXPECT_EQ(FormatReal(123.45L, 12, -1), " 1.234E+0002");
  // Below ten the last digit is rounded half up.
  EXPECT_EQ(FormatReal(1.25L, 10, -1), " 1.3E+0000");
  EXPECT_EQ(FormatReal(7.35L, 12, -1), " 7.350E+0000");
}

TEST(FormatReal, FixedFormDigitsAndRounding) {
  EXPECT_EQ(FormatReal(123.456L, 9, 2), "   123.46");
  EXPECT_EQ(FormatReal(2.5L, 4, 0), "   3");
  EXPECT_EQ(FormatReal(-0.001L, 5, 2), "-0.00");
  EXPECT_EQ(FormatReal(-0.004L, 9, 2), "    -0.00");
  EXPECT_EQ(FormatReal(0.5L, 2, 3), "0.500");
  EXPECT_EQ(FormatReal(123456, 4, 2), "123456.00");
  EXPECT_EQ(FormatReal(180, 15, 5), "      180.00000");
  EXPECT_EQ(FormatReal(5.07E-9L, 15, 10), "   0.0000000051");
  EXPECT_EQ(FormatReal(58.4562648953E-6L, 16, 10), "    0.0000584563");
  EXPECT_EQ(FormatReal(-12.5L, 14, 5), "     -12.50000");
  EXPECT_EQ(FormatReal(0.0001L, 10, 5), "   0.00010");
  EXPECT_EQ(FormatReal(1.5L, 9, 6), " 1.500000");
  EXPECT_EQ(FormatReal(3.14159L, 8, 4), "  3.1416");
  EXPECT_EQ(FormatReal(9.999L, 5, 2), "10.00");  // carry into a new integer digit
  EXPECT_EQ(FormatReal(0.25L, 4, 1), " 0.3");    // half up, not to even
  EXPECT_EQ(FormatReal(123.45L, 9, 2), "   123.45");
  EXPECT_EQ(FormatReal(99999.999996L, 9, 5), "100000.00000");
  // Beyond 19 digits the digit string is extended with zeros.
  EXPECT_EQ(FormatReal(1E35L, 1, 5), "100000000000000000000000000000000000.00000");
  EXPECT_EQ(FormatReal(1234567890123456789012.0L, 1, 0), "1234567890123456790000");
  // Above 1E36 the fixed form falls back to the scientific one.
  EXPECT_EQ(FormatReal(1E40L, 15, 5), " 1.000000E+0040");
  EXPECT_EQ(FormatReal(-3E300L, 10, 5), "-3.0E+0300");
}

TEST(FormatReal, SignsSpecialValuesAndLimits) {
  SKIP_UNLESS_X87();
  EXPECT_EQ(FormatReal(-0.0L, 8, 4), " -0.0000");
  EXPECT_EQ(FormatReal(-0.0L, 23, -1), "-0.00000000000000E+0000");
  EXPECT_EQ(FormatReal(std::numeric_limits<Real>::quiet_NaN(), 10, 5), "       Nan");
  EXPECT_EQ(FormatReal(std::numeric_limits<Real>::infinity(), 5, -1), " +Inf");
  EXPECT_EQ(FormatReal(-std::numeric_limits<Real>::infinity(), 2, 2), "-Inf");
  EXPECT_EQ(FormatReal(1, 300, 2).size(), 255u);
  const std::string many = FormatReal(1, 0, 300);
  EXPECT_EQ(many.size(), 218u);
  EXPECT_EQ(many.substr(0, 4), "1.00");
  EXPECT_EQ(FormatReal(std::numeric_limits<Real>::max(), 15, -1), " 1.189731E+4932");
  EXPECT_EQ(FormatReal(std::numeric_limits<Real>::min(), 15, -1), " 3.362103E-4932");
  EXPECT_EQ(FormatReal(std::numeric_limits<Real>::denorm_min(), 15, -1), " 3.645200E-4951");
}

TEST(FormatInt, DecimalDigits) {
  EXPECT_EQ(FormatInt(-5), "-5");
  EXPECT_EQ(FormatInt(0), "0");
  EXPECT_EQ(FormatInt(589), "589");
  EXPECT_EQ(FormatInt(std::numeric_limits<int32_t>::min()), "-2147483648");
}
