#pragma once

#include <vector>

#include "geometry/filament.h"
#include "geometry/solenoid.h"

namespace kovaro {

// The primary coil: a flat spiral or a helix of round conductor. Lengths in metres; heights
// from the secondary's winding start.
struct Primary {
  bool helical = false;
  Real radius;     // inner radius of the spiral's centre line, or the helix radius
  Real turns;      // fractional turns are a tap
  Real spacing;    // centre-to-centre spacing of the turns; the pitch of a helix
  Real conductor;  // conductor diameter
  Real height;     // the spiral's plane, or the helix's first turn
};

// One ring per turn at its mean radius and height, the last one partial.
std::vector<Ring> PrimaryRings(const Primary& p);
std::vector<Ring> SecondaryRings(const Secondary& s);

// The filament sum with the current on the conductor's surface, as at the coil's frequency.
Real PrimaryInductance(const Primary& p);

// Wheeler's flat-spiral formula, a cross-check of the filament sum (about 5 %).
Real WheelerSpiralInductance(const Primary& p);

}  // namespace kovaro
