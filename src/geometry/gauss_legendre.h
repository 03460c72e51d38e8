#pragma once

#include <cstddef>
#include <vector>

#include "shell/real.h"

namespace kovaro {

// The n-point Gauss-Legendre rule on [-1, 1].
struct GaussRule {
  std::vector<Real> x;
  std::vector<Real> w;
};
GaussRule GaussLegendre(int32_t n);

// The integral of f over [a, b] by the n-point rule.
template <class F>
Real Integrate(const GaussRule& rule, Real a, Real b, F&& f) {
  const Real half = (b - a) / 2;
  const Real mid = (a + b) / 2;
  Real sum = 0;
  for (std::size_t i = 0; i < rule.x.size(); ++i) sum += rule.w[i] * f(mid + half * rule.x[i]);
  return sum * half;
}

}  // namespace kovaro
