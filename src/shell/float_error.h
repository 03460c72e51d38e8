#pragma once

// Arithmetic faults made visible. An action stops at the operation that faults, so each
// operation that can fault is checked where it happens; underflow and inexact results pass.
// The program's inputs are finite, so a product or sum that comes out infinite has
// overflowed, and one that comes out NaN was an invalid operation.

#include <cmath>
#include <stdexcept>

#include "shell/real.h"

namespace kovaro {

inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";
inline constexpr const char* kOverflow = "Floating point overflow";

class FloatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The result of a product, sum or difference of finite operands.
inline Real Ck(Real r) {
  if (std::isnan(r)) throw FloatError(kInvalidOperation);
  if (std::isinf(r)) throw FloatError(kOverflow);
  return r;
}

inline Real Div(Real a, Real b) {
  if (b == 0) throw FloatError(a == 0 || std::isnan(a) ? kInvalidOperation : kDivisionByZero);
  return Ck(a / b);
}

inline Real Sqrt(Real a) {
  if (a < 0 || std::isnan(a)) throw FloatError(kInvalidOperation);
  return std::sqrt(a);
}

}  // namespace kovaro
