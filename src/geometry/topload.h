#pragma once

#include "shell/real.h"

namespace kovaro {

// The isolated capacitance of a sphere of the given diameter.
Real SphereCapacitance(Real diameter);

// A sphere whose centre stands `height` above an infinite ground plane (the image series);
// the height must exceed the radius.
Real SphereOverGround(Real diameter, Real height);

// The exact isolated capacitance of a ring torus of outside diameter D and tube diameter d
// (d < D/2), from the toroidal-coordinate solution.
Real ToroidCapacitance(Real D, Real d);

// Bert Pool's empirical toroid formula, for comparison.
Real PoolToroidCapacitance(Real D, Real d);

}  // namespace kovaro
