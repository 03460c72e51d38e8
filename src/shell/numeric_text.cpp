#include "shell/numeric_text.h"

#include <locale.h>

#include <cmath>
#include <cstdlib>

#include "shell/format.h"

namespace kovaro {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

size_t SkipBlanks(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  return i;
}

// Decimal conversion independent of the locale the windowing toolkit sets.
Real DecimalToReal(const std::string& text) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
  return strtold_l(text.c_str(), nullptr, c_locale);
}

}  // namespace

std::optional<Real> ParseReal(std::string_view text) {
  size_t i = SkipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  std::string integer;
  std::string fraction;
  std::string exponent;
  while (i < text.size() && IsDigit(text[i])) integer += text[i++];
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) fraction += text[i++];
  }
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) exponent += text[i++];
    const size_t digits = i;
    while (i < text.size() && IsDigit(text[i])) exponent += text[i++];
    if (i == digits) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  std::string decimal = negative ? "-" : "+";
  decimal.append(integer.empty() ? "0" : integer);
  decimal.append(".");
  decimal.append(fraction.empty() ? "0" : fraction);
  decimal.append("e");
  decimal.append(exponent.empty() ? "0" : exponent);
  const Real value = DecimalToReal(decimal);
  if (std::isinf(value)) return std::nullopt;
  return value;
}

std::optional<int32_t> ParseInt(std::string_view text) {
  size_t i = SkipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::string_view rest = text.substr(i);
  size_t prefix = 0;
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    prefix = 2;
  } else if (rest.starts_with("$") || rest.starts_with("x") || rest.starts_with("X")) {
    prefix = 1;
  }
  if (prefix > 0) {
    const std::string_view digits = rest.substr(prefix);
    if (digits.empty()) return std::nullopt;
    uint64_t bits = 0;
    for (char c : digits) {
      const int v = HexValue(c);
      if (v < 0) return std::nullopt;
      bits = bits * 16 + static_cast<uint64_t>(v);
      if (bits > 0xFFFFFFFFu) return std::nullopt;
    }
    const uint32_t word = static_cast<uint32_t>(bits);
    return static_cast<int32_t>(negative ? 0u - word : word);
  }
  if (rest.empty()) return std::nullopt;
  uint64_t magnitude = 0;
  for (char c : rest) {
    if (!IsDigit(c)) return std::nullopt;
    magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
    if (magnitude > 2147483648u) return std::nullopt;
  }
  if (negative) return static_cast<int32_t>(0 - static_cast<int64_t>(magnitude));
  if (magnitude > 2147483647u) return std::nullopt;
  return static_cast<int32_t>(magnitude);
}

std::string DecimalText(Real value, int32_t digits, int32_t lowest_fixed, int32_t highest_fixed) {
  if (!std::isfinite(value)) return FormatReal(value, 0, -1);
  if (value == 0) return "0";
  // The 18-digit decimal form: " d.ddddddddddddddddd" then "E", the sign and four digits.
  const std::string form = FormatReal(std::fabs(value), 26, -1);
  std::string kept = form.substr(1, 1) + form.substr(3, 17);
  int32_t exponent = std::stoi(form.substr(21)) + 1;  // value = 0.d1d2... x 10^exponent
  // Half up to the significant digits asked for.
  const bool up = kept[static_cast<size_t>(digits)] >= '5';
  kept.resize(static_cast<size_t>(digits));
  if (up) {
    int32_t i = digits - 1;
    while (i >= 0 && kept[static_cast<size_t>(i)] == '9') kept[static_cast<size_t>(i--)] = '0';
    if (i >= 0) {
      ++kept[static_cast<size_t>(i)];
    } else {
      kept.insert(kept.begin(), '1');
      kept.pop_back();
      ++exponent;
    }
  }
  kept.erase(kept.find_last_not_of('0') + 1);
  std::string text = value < 0 ? "-" : "";
  const auto count = static_cast<int32_t>(kept.size());
  if (exponent >= lowest_fixed && exponent <= highest_fixed) {
    if (exponent <= 0) {
      text.append("0.").append(static_cast<size_t>(-exponent), '0').append(kept);
    } else if (count <= exponent) {
      text.append(kept).append(static_cast<size_t>(exponent - count), '0');
    } else {
      text.append(kept, 0, static_cast<size_t>(exponent))
          .append(".")
          .append(kept, static_cast<size_t>(exponent));
    }
  } else {
    text.append(kept, 0, 1);
    if (count > 1) text.append(".").append(kept, 1);
    text.append("E").append(std::to_string(exponent - 1));
  }
  return text;
}

std::string GeneralText(Real value) { return DecimalText(value, 15, -3, 15); }

std::string ShortText(Real value, int32_t digits) { return DecimalText(value, digits, -2, 6); }

}  // namespace kovaro
