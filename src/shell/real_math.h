#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "shell/real.h"

namespace kovaro {

// 10^k correctly rounded; 0 below the subnormal range and infinity above the largest real.
Real PowerOfTen(int32_t k);

// 2^(p-1) for a significand of p bits: from here on every real is an integer.
inline constexpr Real kIntegralFrom = [] {
  Real r = 1;
  for (int32_t i = 1; i < std::numeric_limits<Real>::digits; ++i) r *= 2;
  return r;
}();

// x rounded to the nearest integer, halves to the even neighbour (as nearbyint in the default
// rounding mode, without its cost of saving and restoring the floating-point environment).
// Below kIntegralFrom in magnitude, adding it leaves no fraction bits, so the default rounding
// of the sum rounds x; larger values are integers already.
inline Real RoundToEven(Real x) {
  if (!(std::fabs(x) < kIntegralFrom)) return x;
  return x >= 0 ? (x + kIntegralFrom) - kIntegralFrom : (x - kIntegralFrom) + kIntegralFrom;
}

// x rounded halves to even, limited to the 32-bit range.
inline int32_t NearestInt(Real x) {
  const Real r = RoundToEven(x);
  if (!(r > -2147483648.0L)) return INT32_MIN;
  if (!(r < 2147483647.0L)) return INT32_MAX;
  return static_cast<int32_t>(r);
}

// Whether an integral real below kIntegralFrom in magnitude is odd (larger ones count as even): half
// of it has a fraction exactly when it is odd. No conversion to an integer, which would switch
// the x87 rounding mode twice.
inline bool IsOdd(Real integral) {
  if (!(std::fabs(integral) < kIntegralFrom)) return false;
  const Real half = integral * 0.5L;
  return RoundToEven(half) != half;
}

}  // namespace kovaro
