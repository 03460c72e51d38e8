#include "geometry/gauss_legendre.h"

#include <cfloat>
#include <cmath>

#include "shell/constants.h"

namespace kovaro {

GaussRule GaussLegendre(int32_t n) {
  GaussRule rule{std::vector<Real>(n), std::vector<Real>(n)};
  for (int32_t i = 0; i < (n + 1) / 2; ++i) {
    // Newton on P_n from the asymptotic estimate of the i-th largest root.
    Real x = std::cos(kPi * (i + 0.75L) / (n + 0.5L));
    Real derivative = 0;
    for (int32_t iteration = 0; iteration < 100; ++iteration) {
      Real p0 = 1;
      Real p1 = x;
      for (int32_t k = 2; k <= n; ++k) {
        const Real p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
        p0 = p1;
        p1 = p2;
      }
      derivative = n * (x * p1 - p0) / (x * x - 1);
      const Real step = p1 / derivative;
      x -= step;
      if (std::fabs(step) <= LDBL_EPSILON) break;
    }
    const Real w = 2 / ((1 - x * x) * derivative * derivative);
    rule.x[i] = x;
    rule.x[n - 1 - i] = -x;
    rule.w[i] = rule.w[n - 1 - i] = w;
  }
  return rule;
}

}  // namespace kovaro
