#pragma once

#include "shell/real.h"

namespace kovaro {

// The capacitance between neighbouring turns that rings of charge on the wires' axes miss
// where the wires nearly touch, per unit length of wire, over eps0: pi * D * g between two
// turns of a coil of diameter D. g of the pitch over the wire diameter, from a boundary-element
// solve of a row of round wires with a linearly rising potential (tabulated from 1.005 to 6,
// interpolated in the logarithms, the induced-dipole limit 2 pi (r/p)^2 beyond); held at its
// first value below the table, where the wires touch.
Real CloseWireFactor(Real pitch_over_wire);

}  // namespace kovaro
