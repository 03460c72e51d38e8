#pragma once

#include <cstdint>

#include "shell/real.h"

namespace kovaro {

// 10^k correctly rounded; 0 below the subnormal range and infinity above the largest real.
Real PowerOfTen(int32_t k);

// x rounded to the nearest integer, halves to the even neighbour (as nearbyint in the default
// rounding mode, without its cost of saving and restoring the floating-point environment).
Real RoundToEven(Real x);

// Whether an integral real is odd.
bool IsOdd(Real integral);

}  // namespace kovaro
