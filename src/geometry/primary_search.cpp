#include <cmath>
#include <string>

#include "geometry/coil_geometry.h"
#include "shell/float_error.h"
#include "shell/format.h"
#include "shell/messages.h"

namespace kovaro {
namespace {

std::string Short(Real x) { return FormatReal(x, 1, 6); }

// The turns whose inductance is La: La grows continuously with the turns (the last turn's
// share grows with its fraction), so a doubling bracket and bisection find it.
Real TurnsFor(Primary p, Real La) {
  auto inductance = [&p](Real turns) {
    p.turns = turns;
    return PrimaryInductance(p);
  };
  Real lo = 0;
  Real hi = 1;
  while (inductance(hi) < La && hi < kMostPrimaryTurns) {
    lo = hi;
    hi = std::fmin(2 * hi, kMostPrimaryTurns);
  }
  const Real most = inductance(hi);
  if (most < La)
    throw InputError("La=" + Short(La / 1e-6L) + " uH cannot be reached: 100 turns of this primary give La=" +
                     Short(most / 1e-6L) + " uH");
  for (int32_t i = 0; i < 200; ++i) {
    const Real mid = (lo + hi) / 2;
    if (mid <= lo || mid >= hi) break;
    (inductance(mid) < La ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

}  // namespace

PrimaryPlacement BfindClick(const CoilGeometry& g, const ElementSet& e, ReportLog& log) {
  ValidateGeometry(g);
  if (!(e.La > 0))
    throw InputError("Find primary needs the elements' La greater than 0, as a design sets it");
  if (!(e.kab > 0 && e.kab < 1))
    throw InputError("Find primary needs the elements' kab between 0 and 1, as a design sets it");
  Primary p = g.primary;
  p.turns = TurnsFor(p, e.La);
  const Real La = PrimaryInductance(p);
  const Real Lb = SecondaryInductance(g.secondary);
  const Real scale = Sqrt(Ck(La * Lb));
  const std::vector<Ring> secondary = SecondaryRings(g.secondary);
  auto coupling = [&](Real height) {
    p.height = height;
    return RingsMutual(PrimaryRings(p), secondary) / scale;
  };
  // The coupling rises as the primary moves up from below the winding to about its middle,
  // then falls: the peak by golden-section search over one winding height either side of
  // the start, then bisection on the rising side.
  const Real l = g.secondary.height;
  const Real lowest = -l;
  const Real ratio = (std::sqrt(5.0L) - 1) / 2;
  Real a = lowest;
  Real b = l;
  Real x1 = b - ratio * (b - a);
  Real x2 = a + ratio * (b - a);
  Real k1 = coupling(x1);
  Real k2 = coupling(x2);
  while (b - a > 1e-9L * l) {
    if (k1 < k2) {
      a = x1;
      x1 = x2;
      k1 = k2;
      x2 = a + ratio * (b - a);
      k2 = coupling(x2);
    } else {
      b = x2;
      x2 = x1;
      k2 = k1;
      x1 = b - ratio * (b - a);
      k1 = coupling(x1);
    }
  }
  const Real peak = (a + b) / 2;
  const Real most = coupling(peak);
  if (e.kab > most)
    throw InputError("kab=" + Short(e.kab) + " cannot be reached: this primary couples at most kab=" +
                     Short(most) + ", at a height of " + Short(peak) + " m");
  const Real least = coupling(lowest);
  if (e.kab < least)
    throw InputError("kab=" + Short(e.kab) + " cannot be reached: this primary couples at least kab=" +
                     Short(least) + " a winding height below the winding start, " + Short(lowest) + " m");
  Real lo = lowest;
  Real hi = peak;
  for (int32_t i = 0; i < 200 && hi - lo > 1e-12L * l; ++i) {
    const Real mid = (lo + hi) / 2;
    (coupling(mid) < e.kab ? lo : hi) = mid;
  }
  const PrimaryPlacement placement{p.turns, (lo + hi) / 2};
  log.LogLine("Primary turns for La=" + FormatReal(placement.turns, 15, 10));
  log.LogLine("Primary height for kab=" + FormatReal(placement.height, 15, 10) + " m");
  return placement;
}

}  // namespace kovaro
