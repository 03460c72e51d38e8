#include "geometry/ring_charge.h"

#include <cmath>

#include "geometry/elliptic.h"
#include "geometry/filament.h"

namespace kovaro {
namespace {

// Images nearer than this many ceiling heights are rings; further ones are points on the axis,
// summed in closed form.
constexpr int32_t kRingImages = 4;

// The direct term, its meridian separation scaled to `near` when given.
Real Direct(const RingPoint& a, const RingPoint& b, Real near) {
  if (!(near > 0)) return RingPotential(a.r, b.r, b.z - a.z);
  const Real dr = b.r - a.r;
  const Real dz = b.z - a.z;
  const Real d = std::sqrt(dr * dr + dz * dz);
  // Coincident rings: the separation across the surface is taken along the axis.
  const Real ur = d > 0 ? dr / d : 0;
  const Real uz = d > 0 ? dz / d : 1;
  const Real mr = (a.r + b.r) / 2;
  return RingPotential(mr - ur * near / 2, mr + ur * near / 2, uz * near);
}

}  // namespace

Real RingPotential(Real ra, Real rb, Real dz) {
  const Real far = (ra + rb) * (ra + rb) + dz * dz;
  const Real k = std::sqrt(4 * ra * rb / far);
  const Real kc = std::sqrt(((ra - rb) * (ra - rb) + dz * dz) / far);
  return CompleteElliptic(k, kc).K / (2 * kPi * kPi * kEpsilon0 * std::sqrt(far));
}

Real FreePotential(const RingPoint& a, const RingPoint& b, Real near) { return Direct(a, b, near); }

Real ImagesOfDifference(Real ra, Real rb, Real dz, Real ceiling) {
  if (!(ceiling > 0)) return 0;
  // Between two grounded planes: +q at za + 2nH for n != 0 ...
  const Real H = ceiling;
  Real v = 0;
  for (int32_t n = 1; n <= kRingImages; ++n)
    v += RingPotential(ra, rb, dz - 2 * n * H) + RingPotential(ra, rb, dz + 2 * n * H);
  // ... the further ones as points on the axis: (1/(4 pi eps0)) sum over n > kRingImages of
  // 1/(2nH - dz) + 1/(2nH + dz), less its divergent part, which the sums' images cancel.
  const Real x = dz / (2 * H);
  const Real m = kRingImages + 1;
  return v - (Digamma(m - x) + Digamma(m + x)) / (8 * kPi * kEpsilon0 * H);
}

Real ImagesOfSum(Real ra, Real rb, Real zsum, Real ceiling) {
  Real v = RingPotential(ra, rb, zsum);  // the floor's image
  if (!(ceiling > 0)) return v;
  // ... and -q at -za + 2nH for every n.
  const Real H = ceiling;
  for (int32_t n = 1; n <= kRingImages; ++n)
    v += RingPotential(ra, rb, zsum - 2 * n * H) + RingPotential(ra, rb, zsum + 2 * n * H);
  const Real y = zsum / (2 * H);
  const Real m = kRingImages + 1;
  return v - (Digamma(m - y) + Digamma(m + y)) / (8 * kPi * kEpsilon0 * H);
}

Real GroundedPotential(const RingPoint& a, const RingPoint& b, Real ceiling, Real near) {
  return Direct(a, b, near) + ImagesOfDifference(a.r, b.r, b.z - a.z, ceiling) -
         ImagesOfSum(a.r, b.r, b.z + a.z, ceiling);
}

Real Digamma(Real x) {
  Real shift = 0;
  while (x < 20) {
    shift -= 1 / x;
    x += 1;
  }
  const Real z2 = 1 / (x * x);
  const Real series =
      z2 * (1.0L / 12 - z2 * (1.0L / 120 - z2 * (1.0L / 252 - z2 * (1.0L / 240 - z2 * (1.0L / 132)))));
  return shift + std::log(x) - 1 / (2 * x) - series;
}

}  // namespace kovaro
