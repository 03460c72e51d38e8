#include "geometry/elliptic.h"

#include <cfloat>
#include <cmath>

namespace kovaro {

Elliptic CompleteElliptic(Real k, Real kc) {
  // a_{n+1} = (a_n + b_n)/2, b_{n+1} = sqrt(a_n b_n), and c_{n+1} = (a_n - b_n)/2 taken as
  // c_n^2 / (4 a_{n+1}), the same value without the cancellation of a_n - b_n.
  Real a = 1;
  Real b = kc;
  Real c = k;
  Real S = 0;
  Real weight = 1;  // 2^(n-1) for c_n, n >= 1
  for (int32_t n = 1; n <= 64; ++n) {
    const Real a_next = (a + b) / 2;
    c = c * c / (4 * a_next);
    b = std::sqrt(a * b);
    a = a_next;
    S += weight * c * c;
    weight *= 2;
    if (c <= LDBL_EPSILON * a) break;
  }
  const Real K = kPi / (2 * a);
  return {K, K * (1 - k * k / 2 - S), S};
}

}  // namespace kovaro
