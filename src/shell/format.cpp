#include "shell/format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "shell/real_math.h"

namespace kovaro {
namespace {

constexpr int32_t kMaxPow10 = 4932;  // the largest power of ten below the range limit

int32_t FloorDiv(int32_t a, int32_t b) {
  int32_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

struct Scaled {
  Real s;     // 1 <= s < 16, or 0
  int32_t e;  // decimal exponent estimate: a = s * 10^e
};

Scaled DecimalScale(Real a) {
  Scaled r{a, 0};
  if (a == 0) return r;
  for (;;) {
    int32_t d = FloorDiv(std::ilogb(r.s) * 19728, 65536);
    if (d == 0) return r;
    if (-d > kMaxPow10) {
      // Subnormal values: 10^-d itself is beyond the range, so scale in two factors.
      r.s = r.s * PowerOfTen(kMaxPow10) * PowerOfTen(-d - kMaxPow10);
    } else {
      r.s = r.s * PowerOfTen(-d);
    }
    r.e += d;
  }
}

// The 19-digit string of s * 1E17, rounded half up to n digits after D[0], or extended
// with zeros when n >= 18. D[0 .. n] are the meaningful digits.
std::string Digits(Real s, int32_t n) {
  auto v = static_cast<uint64_t>(RoundToEven(s * 1E17L));
  std::string d(19, '0');
  for (int32_t i = 18; i >= 0; --i) {
    d[i] = static_cast<char>('0' + v % 10);
    v /= 10;
  }
  if (n >= 18) return d.append(n - 18, '0');
  if (d[n + 1] >= '5') {
    int32_t i = n;
    while (d[i] == '9') d[i--] = '0';
    ++d[i];
  }
  return d;
}

std::string PadLeft(std::string text, int32_t width) {
  width = std::min(width, 255);
  if (static_cast<int32_t>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string Scientific(bool negative, Scaled v, int32_t width) {
  const int32_t n = std::clamp(std::min(width, 255) - 8, 2, 18);
  const std::string d = Digits(v.s, n);
  const bool lead = d[0] != '0';
  const std::string digits = lead ? d.substr(0, n) : d.substr(1, n);
  const int32_t exponent = lead ? v.e + 1 : v.e;
  char exp_text[16];
  std::snprintf(exp_text, sizeof exp_text, "%c%04d", exponent >= 0 ? '+' : '-', std::abs(exponent));
  std::string text(1, negative ? '-' : ' ');
  text += digits[0];
  text += '.';
  text += digits.substr(1);
  text += 'E';
  text += exp_text;
  return text;
}

std::string Fixed(bool negative, Real a, int32_t width, int32_t decimals) {
  decimals = std::min(decimals, 216);
  Scaled v{a, 0};
  if (a >= 10) {
    v = DecimalScale(a);
    if (v.e > 35) return Scientific(negative, v, width);
  }
  const int32_t n = v.e + 1 + decimals;
  const std::string d = Digits(v.s, n);
  std::string text = negative ? "-" : "";
  text += d[0] != '0' ? d.substr(0, v.e + 2) : d.substr(1, v.e + 1);
  if (decimals > 0) {
    text += '.';
    text += d.substr(v.e + 2, decimals);
  }
  return text;
}

}  // namespace

std::string FormatReal(Real x, int32_t width, int32_t decimals) {
  if (std::isnan(x)) return PadLeft("Nan", width);
  const bool negative = std::signbit(x);
  if (std::isinf(x)) return PadLeft(negative ? "-Inf" : "+Inf", width);
  const Real a = std::fabs(x);
  if (decimals < 0) return PadLeft(Scientific(negative, DecimalScale(a), width), width);
  return PadLeft(Fixed(negative, a, width, decimals), width);
}

std::string FormatInt(int32_t i) { return std::to_string(i); }

}  // namespace kovaro
