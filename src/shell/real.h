#pragma once

#include <cstdint>

namespace kovaro {

// Every computed or stored real: x87 80-bit extended on x86-64 (64-bit significand).
using Real = long double;

}  // namespace kovaro
