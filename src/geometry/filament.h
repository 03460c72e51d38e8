#pragma once

#include <vector>

#include "shell/constants.h"
#include "shell/real.h"

namespace kovaro {

inline constexpr Real kMu0 = 4e-7L * kPi;             // H/m
inline constexpr Real kEpsilon0 = 8.8541878128e-12L;  // F/m

// The self-inductance of one circular loop of round wire: radius R to the wire centre, wire
// radius rw, Y = 1/4 for a uniform current and 0 for a current on the wire's surface.
Real LoopInductance(Real R, Real rw, Real Y);

// Maxwell's mutual inductance of two coaxial circular filaments of radii a and b at the axial
// distance z, in the form whose terms are all positive, so that far-apart filaments keep
// their digits. The filaments must not coincide.
Real FilamentMutual(Real a, Real b, Real z);

// One turn of a coil as a coaxial ring: radius, height and the fraction of the turn present.
struct Ring {
  Real r;
  Real z;
  Real w;
};

// The rings of a winding of `turns` turns that starts at radius r0 and height z0 and moves by
// dr and dz each turn: each ring at the middle of its turn, the last one partial when `turns`
// is fractional, at the middle of the part present.
std::vector<Ring> Winding(Real turns, Real r0, Real dr, Real z0, Real dz);

// The inductance of a coil of rings of round conductor: the loops' own inductances and the
// mutual inductance of every pair, weighted by the fractions present.
Real RingsInductance(const std::vector<Ring>& rings, Real rw, Real Y);

// The mutual inductance of two coaxial coils, summed over every pair of rings.
Real RingsMutual(const std::vector<Ring>& a, const std::vector<Ring>& b);

}  // namespace kovaro
