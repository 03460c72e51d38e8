// The field's parsing and general text against an independent model: regular expressions
// for the grammars and the C library's conversions for the values.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <regex>

#include "shell/numeric_text.h"

using namespace kovaro;

namespace {

const std::string kAlphabet = "0123456789012345678901234567890123456789+-..Ee$xX  \taAbBfFgz";

std::string RandomText(std::mt19937_64& random) {
  std::uniform_int_distribution<int> length(0, 12);
  std::uniform_int_distribution<size_t> pick(0, kAlphabet.size() - 1);
  std::string text;
  for (int n = length(random); n > 0; --n) text += kAlphabet[pick(random)];
  return text;
}

std::optional<Real> ModelReal(const std::string& text) {
  static const std::regex grammar(R"(^ *[+-]?(?=.)([0-9]*)(\.([0-9]*))?([eE][+-]?[0-9]+)?$)");
  std::smatch m;
  if (!std::regex_match(text, m, grammar)) return std::nullopt;
  const bool negative =
      text.find('-') != std::string::npos && text.find('-') < text.find_first_of("0123456789.eE");
  if (m[1].length() == 0 && m[3].length() == 0) return negative ? -0.0L : 0.0L;  // no mantissa digits
  const Real value = std::strtold(text.c_str(), nullptr);
  if (std::isinf(value)) return std::nullopt;
  return value;
}

std::optional<int32_t> ModelInt(const std::string& text) {
  static const std::regex grammar(R"(^ *([+-]?)(([0-9]+)|(\$|0x|0X|x|X)([0-9A-Fa-f]+))$)");
  std::smatch m;
  if (!std::regex_match(text, m, grammar)) return std::nullopt;
  const bool negative = m[1] == "-";
  if (m[3].matched) {
    const std::string digits = m[3];
    if (digits.find_first_not_of('0') != std::string::npos &&
        digits.size() - digits.find_first_not_of('0') > 10) {
      return std::nullopt;
    }
    const long long magnitude = std::strtoll(digits.c_str(), nullptr, 10);
    const long long value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
  }
  std::string digits = m[5];
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
  if (digits.size() > 8) return std::nullopt;
  const auto bits = static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
  return static_cast<int32_t>(negative ? 0u - bits : bits);
}

}  // namespace

TEST(NumericTextModel, RandomTextsAgreeWithTheModel) {
  std::mt19937_64 random(20261207);
  int accepted_reals = 0;
  int accepted_ints = 0;
  for (int i = 0; i < 200000; ++i) {
    const std::string text = RandomText(random);
    const auto real = ParseReal(text);
    const auto model_real = ModelReal(text);
    ASSERT_EQ(real.has_value(), model_real.has_value()) << '"' << text << '"';
    if (real) {
      ASSERT_EQ(*real, *model_real) << '"' << text << '"';
      ASSERT_EQ(std::signbit(*real), std::signbit(*model_real)) << '"' << text << '"';
      ++accepted_reals;
    }
    const auto integer = ParseInt(text);
    const auto model_int = ModelInt(text);
    ASSERT_EQ(integer.has_value(), model_int.has_value()) << '"' << text << '"';
    if (integer) {
      ASSERT_EQ(*integer, *model_int) << '"' << text << '"';
      ++accepted_ints;
    }
  }
  // Enough of both kinds were accepted for the comparison to mean something.
  EXPECT_GT(accepted_reals, 20000);
  EXPECT_GT(accepted_ints, 10000);
}

TEST(NumericTextModel, GeneralTextRoundTripsTo15Digits) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-300, 300);
  for (int i = 0; i < 100000; ++i) {
    const Real x = static_cast<Real>(mantissa(random)) * std::pow(10.0L, exponent(random)) *
                   (1 + static_cast<Real>(mantissa(random)) * 1E-12L);
    const std::string text = GeneralText(x);
    const auto back = ParseReal(text);
    ASSERT_TRUE(back.has_value()) << text;
    // Within half a unit of the 15th significant digit, and shown with at most 15 digits. The
    // rounding starts from the 18-digit form, which is itself rounded: a value just below a
    // half at the 15th digit may round up, hence the thousandth of a unit more.
    const Real unit = std::pow(10.0L, std::floor(std::log10(std::fabs(x))) - 14);
    ASSERT_LE(std::fabs(*back - x), unit * 0.5L * (1 + 2E-3L)) << text << " for " << static_cast<double>(x);
    std::string digits;
    for (char c : text.substr(0, text.find('E'))) {
      if (c >= '0' && c <= '9') digits += c;
    }
    digits.erase(0, digits.find_first_not_of('0'));
    ASSERT_LE(digits.size(), 15u) << text;
    ASSERT_EQ(GeneralText(*back), text);  // the text of the value it stands for is itself
  }
}
