#include "geometry/primary.h"

#include "shell/float_error.h"

namespace kovaro {

std::vector<Ring> PrimaryRings(const Primary& p) {
  if (p.helical) return Winding(p.turns, p.radius, 0, p.height, p.spacing);
  return Winding(p.turns, p.radius, p.spacing, p.height, 0);
}

std::vector<Ring> SecondaryRings(const Secondary& s) {
  const Real pitch = s.height / s.turns;
  return Winding(s.turns, s.diameter / 2, 0, 0, pitch);
}

Real PrimaryInductance(const Primary& p) { return RingsInductance(PrimaryRings(p), p.conductor / 2, 0); }

Real WheelerSpiralInductance(const Primary& p) {
  const Real w = p.turns * p.spacing;
  const Real r = p.radius + w / 2;
  return Ck(3.937e-5L * r * r * p.turns * p.turns / (8 * r + 11 * w));
}

}  // namespace kovaro
