#include "shell/real_math.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kovaro {
namespace {

constexpr int32_t kMinPow10 = -4951;  // the smallest subnormal is 3.6E-4951
constexpr int32_t kMaxPow10 = 4932;   // the largest real is 1.19E+4932
constexpr Real kTwo63 = 9223372036854775808.0L;

}  // namespace

Real PowerOfTen(int32_t k) {
  // The C library's decimal conversion rounds correctly; a computed power may be one unit
  // off in the last place.
  static const auto table = [] {
    std::array<Real, kMaxPow10 - kMinPow10 + 1> t{};
    char text[16];
    for (int32_t i = kMinPow10; i <= kMaxPow10; ++i) {
      std::snprintf(text, sizeof text, "1e%d", i);
      t[i - kMinPow10] = std::strtold(text, nullptr);
    }
    return t;
  }();
  if (k < kMinPow10) return 0;
  if (k > kMaxPow10) return std::numeric_limits<Real>::infinity();
  return table[k - kMinPow10];
}

Real RoundToEven(Real x) {
  // Below 2^63 in magnitude, adding 2^63 leaves no fraction bits, so the default rounding of
  // the sum rounds x; larger values are integers already.
  if (!(std::fabs(x) < kTwo63)) return x;
  return x >= 0 ? (x + kTwo63) - kTwo63 : (x - kTwo63) + kTwo63;
}

bool IsOdd(Real integral) {
  return std::fabs(integral) < kTwo63 && (static_cast<int64_t>(integral) & 1) != 0;
}

}  // namespace kovaro
