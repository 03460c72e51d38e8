#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <string>
#include <utility>

#include "geometry/coil_geometry.h"
#include "geometry/coupling_lattice.h"
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

using Function = std::function<Real(Real)>;

// The largest value of a smooth f on [a, b] near x, by Brent's method: parabolas through the
// three best points, golden sections where a parabola does not help. x, w and v start as the
// best point and the two others, with their values; the position is found within tol.
std::pair<Real, Real> Maximum(const Function& f, Real a, Real b, Real x, Real fx, Real w, Real fw, Real v,
                              Real fv, Real tol) {
  const Real golden = (3 - std::sqrt(5.0L)) / 2;
  Real d = 0;
  Real e = b - a;  // lets the first step be a parabola through the three points given
  for (int32_t i = 0; i < 200; ++i) {
    const Real middle = (a + b) / 2;
    const Real tol1 = LDBL_EPSILON * std::fabs(x) + tol / 3;
    if (std::fabs(x - middle) <= 2 * tol1 - (b - a) / 2) break;
    Real p = 0;
    Real q = 0;
    if (std::fabs(e) > tol1) {
      const Real r = (x - w) * (fv - fx);
      q = (x - v) * (fw - fx);
      p = (x - v) * q - (x - w) * r;
      q = 2 * (q - r);
      if (q > 0) p = -p;
      q = std::fabs(q);
    }
    const Real last = e;
    if (std::fabs(p) < std::fabs(q * last / 2) && p > q * (a - x) && p < q * (b - x)) {
      e = d;
      d = p / q;
      if (x + d - a < 2 * tol1 || b - (x + d) < 2 * tol1) d = x < middle ? tol1 : -tol1;
    } else {
      e = x < middle ? b - x : a - x;
      d = golden * e;
    }
    const Real u = x + (std::fabs(d) >= tol1 ? d : (d > 0 ? tol1 : -tol1));
    const Real fu = f(u);
    if (fu >= fx) {
      (u < x ? b : a) = x;
      v = w, fv = fw, w = x, fw = fx, x = u, fx = fu;
    } else {
      (u < x ? a : b) = u;
      if (fu >= fw || w == x) {
        v = w, fv = fw, w = u, fw = fu;
      } else if (fu >= fv || v == x || v == w) {
        v = u, fv = fu;
      }
    }
  }
  return {x, fx};
}

// The x in [a, b] where f crosses 0, f(a) < 0 <= f(b), by Brent's method: inverse quadratic
// or linear interpolation, bisection where they step badly; within tol.
Real Zero(const Function& f, Real a, Real fa, Real b, Real fb, Real tol) {
  if (fb == 0) return b;
  Real c = a;
  Real fc = fa;
  Real d = b - a;
  Real e = d;
  for (int32_t i = 0; i < 200; ++i) {
    if ((fb > 0) == (fc > 0)) {
      c = a, fc = fa, d = e = b - a;
    }
    if (std::fabs(fc) < std::fabs(fb)) {
      a = b, b = c, c = a;
      fa = fb, fb = fc, fc = fa;
    }
    const Real tol1 = 2 * LDBL_EPSILON * std::fabs(b) + tol / 2;
    const Real m = (c - b) / 2;
    if (std::fabs(m) <= tol1 || fb == 0) break;
    if (std::fabs(e) < tol1 || std::fabs(fa) <= std::fabs(fb)) {
      d = e = m;
    } else {
      const Real s = fb / fa;
      Real p;
      Real q;
      if (a == c) {
        p = 2 * m * s;
        q = 1 - s;
      } else {
        const Real qa = fa / fc;
        const Real r = fb / fc;
        p = s * (2 * m * qa * (qa - r) - (b - a) * (r - 1));
        q = (qa - 1) * (r - 1) * (s - 1);
      }
      if (p > 0) {
        q = -q;
      } else {
        p = -p;
      }
      if (2 * p < 3 * m * q - std::fabs(tol1 * q) && p < std::fabs(e * q / 2)) {
        e = d;
        d = p / q;
      } else {
        d = e = m;
      }
    }
    a = b;
    fa = fb;
    b += std::fabs(d) > tol1 ? d : (m > 0 ? tol1 : -tol1);
    fb = f(b);
  }
  return b;
}

}  // namespace

PrimaryPlacement FindPrimary(const CoilGeometry& g, const ElementSet& e, ReportLog& log) {
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
  const Function coupling = [&](Real height) {
    p.height = height;
    return RingsMutual(PrimaryRings(p), secondary) / scale;
  };
  // The coupling rises as the primary moves up from a winding height below the winding's
  // start to about its middle, then falls. Over that range and up to a winding height above
  // the start, first at heights a secondary's turn apart, which share their filament pairs:
  // the peak among them, then where the rising side passes kab. Between two of them the
  // coupling is summed whole.
  const Real l = g.secondary.height;
  const Real pitch = l / g.secondary.turns;
  const Real lowest = -l;
  p.height = 0;
  const CouplingLattice lattice(PrimaryRings(p), secondary, pitch, lowest,
                                static_cast<int32_t>(std::floor(2 * g.secondary.turns)) + 1);
  const auto at = [&](int32_t m) { return lattice.Mutual(m) / scale; };
  const Real least = at(0);
  if (e.kab < least)
    throw InputError("kab=" + Short(e.kab) + " cannot be reached: this primary couples at least kab=" +
                     Short(least) + " a winding height below the winding start, " + Short(lowest) + " m");
  // The lattice's peak, by thirds (the coupling has one peak), then among the last three.
  int32_t lo = 0;
  int32_t hi = lattice.Count() - 1;
  while (hi - lo > 2) {
    const int32_t m1 = lo + (hi - lo) / 3;
    const int32_t m2 = hi - (hi - lo) / 3;
    if (at(m1) < at(m2)) {
      lo = m1;
    } else {
      hi = m2;
    }
  }
  int32_t top = lo;
  for (int32_t m = lo + 1; m <= hi; ++m) {
    if (at(m) > at(top)) top = m;
  }
  // A bracket of kab on the rising side: coupling(from) < kab <= coupling(to).
  Real from = lowest;
  Real from_value = least;
  Real to = lattice.Height(top);
  Real to_value = at(top);
  if (least == e.kab) {
    to = lowest;
    to_value = least;
  } else if (e.kab <= to_value) {
    int32_t under = 0;
    int32_t over = top;
    while (over - under > 1) {
      const int32_t mid = (under + over) / 2;
      (at(mid) < e.kab ? under : over) = mid;
    }
    from = lattice.Height(under), from_value = at(under);
    to = lattice.Height(over), to_value = at(over);
  } else {
    // Above every lattice height: the peak lies within a turn of the highest.
    const int32_t left = std::max(top - 1, 0);
    const int32_t right = std::min(top + 1, lattice.Count() - 1);
    const auto [peak, most] =
        Maximum(coupling, lattice.Height(left), std::fmin(lattice.Height(right), l), lattice.Height(top),
                at(top), lattice.Height(right), at(right), lattice.Height(left), at(left), 1e-9L * l);
    if (e.kab > most)
      throw InputError("kab=" + Short(e.kab) + " cannot be reached: this primary couples at most kab=" +
                       Short(most) + ", at a height of " + Short(peak) + " m");
    const int32_t under = peak >= lattice.Height(top) ? top : left;
    from = lattice.Height(under), from_value = at(under);
    to = peak, to_value = most;
  }
  const Real height = to_value == e.kab ? to
                                        : Zero([&](Real h) { return coupling(h) - e.kab; }, from,
                                               from_value - e.kab, to, to_value - e.kab, 1e-12L * l);
  const PrimaryPlacement placement{p.turns, height};
  log.LogLine("Primary turns for La=" + FormatReal(placement.turns, 15, 10));
  log.LogLine("Primary height for kab=" + FormatReal(placement.height, 15, 10) + " m");
  return placement;
}

}  // namespace kovaro
