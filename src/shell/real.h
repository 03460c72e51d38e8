#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

namespace kovaro {

// Every computed or stored real: x87 80-bit extended on x86-64 (64-bit significand). Elsewhere
// a wider long double of the same exponent range (IEEE binary128) will do, with results that
// may differ in their last digits; the printed ranges (10^-4951 to 10^4932) need that range.
using Real = long double;

static_assert(std::numeric_limits<Real>::digits >= 64 && std::numeric_limits<Real>::max_exponent == 16384 &&
                  std::numeric_limits<Real>::min_exponent == -16381,
              "Real must be the x87 extended format or a wider one of its exponent range");

// The x87 format: its 10 bytes of a 16-byte slot carry the value, the rest is padding.
inline constexpr bool kRealIsX87 = std::numeric_limits<Real>::digits == 64;
inline constexpr size_t kRealValueBytes = kRealIsX87 ? 10 : sizeof(Real);

}  // namespace kovaro
