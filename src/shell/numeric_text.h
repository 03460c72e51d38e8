#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/real.h"

namespace kovaro {

// A real as typed into a numeric field: leading blanks, an optional sign, digits with an
// optional point (either run may be empty), an optional exponent, nothing after. Values beyond
// the range of Real are refused.
std::optional<Real> ParseReal(std::string_view text);

// A 32-bit integer as typed: leading blanks, an optional sign, decimal digits or hexadecimal
// digits after "$", "x", "X", "0x" or "0X" (at most 8 significant, taken as signed 32 bits).
std::optional<int32_t> ParseInt(std::string_view text);

// The text a field shows for a value set into it: 15 significant digits, rounded half up,
// in the shortest fixed or scientific form.
std::string GeneralText(Real value);

}  // namespace kovaro
