#pragma once

#include <cmath>
#include <cstdint>

#include "shell/real.h"

namespace kovaro {

// 10^k correctly rounded; 0 below the subnormal range and infinity above the largest real.
Real PowerOfTen(int32_t k);

inline constexpr Real kTwo63 = 9223372036854775808.0L;

// x rounded to the nearest integer, halves to the even neighbour (as nearbyint in the default
// rounding mode, without its cost of saving and restoring the floating-point environment).
// Below 2^63 in magnitude, adding 2^63 leaves no fraction bits, so the default rounding of
// the sum rounds x; larger values are integers already.
inline Real RoundToEven(Real x) {
  if (!(std::fabs(x) < kTwo63)) return x;
  return x >= 0 ? (x + kTwo63) - kTwo63 : (x - kTwo63) + kTwo63;
}

// x rounded halves to even, limited to the 32-bit range.
inline int32_t NearestInt(Real x) {
  const Real r = RoundToEven(x);
  if (!(r > -2147483648.0L)) return INT32_MIN;
  if (!(r < 2147483647.0L)) return INT32_MAX;
  return static_cast<int32_t>(r);
}

// Whether an integral real below 2^63 in magnitude is odd (larger ones count as even): half
// of it has a fraction exactly when it is odd. No conversion to an integer, which would switch
// the x87 rounding mode twice.
inline bool IsOdd(Real integral) {
  if (!(std::fabs(integral) < kTwo63)) return false;
  const Real half = integral * 0.5L;
  return RoundToEven(half) != half;
}

}  // namespace kovaro
