#include "geometry/filament.h"

#include <cmath>

#include "geometry/elliptic.h"
#include "shell/float_error.h"

namespace kovaro {

Real LoopInductance(Real R, Real rw, Real Y) { return kMu0 * R * (std::log(8 * R / rw) - 2 + Y); }

Real FilamentMutual(Real a, Real b, Real z) {
  // k^2 = 4ab / ((a+b)^2 + z^2); the complement from the geometry, not from 1 - k^2.
  const Real far = (a + b) * (a + b) + z * z;
  const Real k = std::sqrt(4 * a * b / far);
  const Real kc = std::sqrt(((a - b) * (a - b) + z * z) / far);
  const Elliptic e = CompleteElliptic(k, kc);
  // (2/k - k) K - (2/k) E = (2/k) K S.
  return kMu0 * std::sqrt(a * b) * (2 / k) * e.K * e.S;
}

std::vector<Ring> Winding(Real turns, Real r0, Real dr, Real z0, Real dz) {
  std::vector<Ring> rings;
  for (int32_t i = 0; i < turns; ++i) {
    const Real w = turns - i < 1 ? turns - i : 1;
    const Real middle = i + w / 2;
    rings.push_back({r0 + middle * dr, z0 + middle * dz, w});
  }
  return rings;
}

Real RingsInductance(const std::vector<Ring>& rings, Real rw, Real Y) {
  Real own = 0;
  Real mutual = 0;
  for (size_t i = 0; i < rings.size(); ++i) {
    own += rings[i].w * rings[i].w * LoopInductance(rings[i].r, rw, Y);
    for (size_t j = i + 1; j < rings.size(); ++j)
      mutual += rings[i].w * rings[j].w * FilamentMutual(rings[i].r, rings[j].r, rings[j].z - rings[i].z);
  }
  return Ck(own + 2 * mutual);
}

Real RingsMutual(const std::vector<Ring>& a, const std::vector<Ring>& b) {
  Real sum = 0;
  for (const Ring& p : a) {
    Real row = 0;
    for (const Ring& q : b) row += q.w * FilamentMutual(p.r, q.r, q.z - p.z);
    sum += p.w * row;
  }
  return Ck(sum);
}

}  // namespace kovaro
