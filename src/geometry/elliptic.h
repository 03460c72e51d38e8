#pragma once

#include "shell/constants.h"
#include "shell/real.h"

namespace kovaro {

// The complete elliptic integrals of modulus k, with S = sum over n >= 1 of 2^(n-1) c_n^2 of
// the arithmetic-geometric mean, so that (1 - k^2/2) K - E = K S without a subtraction.
struct Elliptic {
  Real K;
  Real E;
  Real S;
};

// k and its complement kc = sqrt(1 - k^2) are both given: a caller that knows kc from its
// geometry keeps the digits that 1 - k^2 would cancel. Requires 0 <= k < 1 and kc > 0.
Elliptic CompleteElliptic(Real k, Real kc);

}  // namespace kovaro
