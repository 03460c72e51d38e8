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

}  // namespace kovaro
