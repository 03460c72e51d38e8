#include "geometry/topload.h"

#include <cmath>

#include "geometry/elliptic.h"
#include "geometry/filament.h"
#include "geometry/gauss_legendre.h"
#include "shell/float_error.h"

namespace kovaro {

Real SphereCapacitance(Real diameter) { return Ck(4 * kPi * kEpsilon0 * diameter / 2); }

Real SphereOverGround(Real diameter, Real height) {
  // cosh(alpha) = h / r; C = 4 pi eps0 r sinh(alpha) sum over n >= 1 of 1 / sinh(n alpha).
  const Real r = diameter / 2;
  const Real alpha = std::acosh(height / r);
  Real sum = 0;
  for (int32_t n = 1; n <= 100000; ++n) {
    const Real term = 1 / std::sinh(n * alpha);
    sum += term;
    if (term <= 1e-19L * sum) break;
  }
  return Ck(4 * kPi * kEpsilon0 * r * std::sinh(alpha) * sum);
}

namespace {

// Q_{n-1/2}(cosh eta) = integral from eta to infinity of e^(-n u) / sqrt(2 (cosh u - cosh eta)),
// with u = eta + s^2, so that the integrand is smooth at the lower end, on panels that
// double in length from where the integrand bends.
Real ToroidalQ(int32_t n, Real eta, const GaussRule& rule) {
  const Real end = std::sqrt(46 / (n + 0.5L));  // e^-46 of the integrand's scale beyond
  auto f = [n, eta](Real s) {
    const Real s2 = s * s;
    // cosh(eta + s^2) - cosh(eta) = 2 sinh(eta + s^2/2) sinh(s^2/2), without the cancellation.
    return std::exp(-n * (eta + s2)) * 2 * s / std::sqrt(4 * std::sinh(eta + s2 / 2) * std::sinh(s2 / 2));
  };
  Real sum = 0;
  Real a = 0;
  Real b = std::fmin(end, std::sqrt(eta) / 4);
  while (a < end) {
    sum += Integrate(rule, a, b, f);
    a = b;
    b = std::fmin(end, 2 * b);
  }
  return sum;
}

}  // namespace

Real ToroidCapacitance(Real D, Real d) {
  const Real R = (D - d) / 2;  // major radius
  const Real a = d / 2;        // minor radius
  const Real c = std::sqrt((R - a) * (R + a));
  const Real eta = std::acosh(R / a);
  const Real z = R / a;
  // P_{-1/2} and P_{1/2} from K and E of modulus sqrt(1 - e^(-2 eta)), then upward, where
  // the recurrence is stable for P.
  const Real kc = std::exp(-eta);
  const Elliptic e = CompleteElliptic(std::sqrt((1 - kc) * (1 + kc)), kc);
  Real p_prev = 2 / kPi * std::exp(-eta / 2) * e.K;
  Real p = 2 / kPi * std::exp(eta / 2) * e.E;
  static const GaussRule rule = GaussLegendre(24);
  Real sum = ToroidalQ(0, eta, rule) / p_prev;
  for (int32_t n = 1; n <= 10000; ++n) {
    const Real term = 2 * ToroidalQ(n, eta, rule) / p;
    sum += term;
    if (term <= 1e-18L * sum) break;
    const Real p_next = (2 * n * z * p - (n - 0.5L) * p_prev) / (n + 0.5L);
    p_prev = p;
    p = p_next;
  }
  return Ck(8 * kEpsilon0 * c * sum);
}

Real PoolToroidCapacitance(Real D, Real d) {
  return Ck(1.1024e-10L * (1.2781L - d / D) * std::sqrt(0.7854L * d * (D - d)));
}

}  // namespace kovaro
