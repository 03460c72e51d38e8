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

// A value rounded half up to `digits` significant digits (1 to 17), trailing zeros dropped,
// in fixed notation when value = 0.d1d2... x 10^E with lowest_fixed <= E <= highest_fixed
// and otherwise in scientific notation: d1, a point and the other digits when there are
// any, "E" and the exponent E - 1 ("-" when negative, no "+").
std::string DecimalText(Real value, int32_t digits, int32_t lowest_fixed, int32_t highest_fixed);

// The text a field shows for a value set into it: 15 significant digits, rounded half up,
// in the shortest fixed or scientific form.
std::string GeneralText(Real value);

// A readout's text of a value: `digits` significant digits, fixed from 0.001 to below 1E6.
std::string ShortText(Real value, int32_t digits);

}  // namespace kovaro
