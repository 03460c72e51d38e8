#pragma once

#include <cstdint>
#include <string>

#include "shell/real.h"

namespace kovaro {

// x in fixed notation with `decimals` decimals, or in scientific notation for decimals < 0,
// right-aligned in `width` characters and never cut.
std::string FormatReal(Real x, int32_t width, int32_t decimals);

// Decimal digits, "-" before a negative value, no blanks.
std::string FormatInt(int32_t i);

}  // namespace kovaro
