#pragma once

#include "shell/real.h"

namespace kovaro {

// A coaxial ring in the meridian plane: its radius and height.
struct RingPoint {
  Real r;
  Real z;
};

// The potential at ring b of a unit charge spread evenly over the coaxial ring a, in free
// space: K(k) / (2 pi^2 eps0 sqrt((ra + rb)^2 + dz^2)) with k^2 = 4 ra rb / ((ra + rb)^2 + dz^2).
// The rings must not coincide.
Real RingPotential(Real ra, Real rb, Real dz);

// Grounded surroundings: the floor z = 0 and, when `ceiling` > 0, a grounded ceiling at that
// height. The potential at b of the unit ring charge a with its images; the direct term may be
// taken at another meridian distance (`near` > 0: the mean distance of charges spread over a
// width, where the rings nearly touch), its direction kept.
Real GroundedPotential(const RingPoint& a, const RingPoint& b, Real ceiling, Real near = 0);

// The same in free space (no floor): for a body far above everything.
Real FreePotential(const RingPoint& a, const RingPoint& b, Real near = 0);

// GroundedPotential in two parts for rings on one axis whose heights are a lattice: the images
// that depend on the heights' difference (the ceiling's, the direct term not included) and
// those that depend on their sum (the floor's and the ceiling's), each with its share of the
// far images' sum, so that direct + ImagesOfDifference - ImagesOfSum is the whole.
Real ImagesOfDifference(Real ra, Real rb, Real dz, Real ceiling);
Real ImagesOfSum(Real ra, Real rb, Real zsum, Real ceiling);

// The digamma function, for arguments from 1.
Real Digamma(Real x);

}  // namespace kovaro
