#pragma once

// Arithmetic faults made visible. An action stops at the operation that faults, so each
// operation that can fault is checked where it happens; underflow and inexact results pass.
// The program's inputs are finite, so a product or sum that comes out infinite has
// overflowed, and one that comes out NaN was an invalid operation.

#include <cmath>
#include <cstdint>
#include <string>

#include "shell/kovaro_error.h"
#include "shell/real.h"

namespace kovaro {

inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";
inline constexpr const char* kOverflow = "Floating point overflow";

class FloatError : public KovaroError {
 public:
  using KovaroError::KovaroError;
};

// Throws the fault that made r infinite or NaN.
[[noreturn]] void ThrowFaultOf(Real r);

// Whether r is neither infinite nor NaN: r - r is NaN exactly then. Cheaper on the x87 than
// a comparison with the largest real, which is a memory operand.
inline bool IsFinite(Real r) { return r - r == 0; }

// The result of a product, sum or difference of finite operands.
inline Real Ck(Real r) {
  if (!IsFinite(r)) [[unlikely]]
    ThrowFaultOf(r);
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

namespace kovaro {

// A real whose arithmetic checks every operation, so that a formula written plainly stops at
// the operation that faults, with its message.
class CReal {
 public:
  CReal(Real v) : v_(v) {}  // NOLINT: formulas mix plain reals and checked ones
  Real value() const { return v_; }

  friend CReal operator+(CReal a, CReal b) { return Ck(a.v_ + b.v_); }
  friend CReal operator-(CReal a, CReal b) { return Ck(a.v_ - b.v_); }
  friend CReal operator*(CReal a, CReal b) { return Ck(a.v_ * b.v_); }
  friend CReal operator/(CReal a, CReal b) { return Div(a.v_, b.v_); }
  friend CReal operator-(CReal a) { return -a.v_; }

 private:
  Real v_;
};

// A checked value in a report line, as FormatReal writes a real.
std::string FormatReal(CReal x, int32_t width, int32_t decimals);

inline CReal Sqrt(CReal a) { return Sqrt(a.value()); }
inline CReal Sqr(CReal a) { return a * a; }
inline CReal Abs(CReal a) { return std::fabs(a.value()); }

}  // namespace kovaro
