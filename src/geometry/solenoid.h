#pragma once

#include "shell/real.h"

namespace kovaro {

// A single-layer close-wound secondary. Lengths in metres.
struct Secondary {
  Real diameter;  // to the wire centres
  Real height;    // winding length, turns times pitch
  Real turns;
  Real wire;  // bare wire diameter
  Real base;  // height of the winding's start above ground
};

// Nagaoka's coefficient of a current sheet of diameter D and length l, exact from K and E.
Real NagaokaCoefficient(Real D, Real l);

// The current-sheet inductance, and the same less Rosa's corrections for round wire.
Real CurrentSheetInductance(const Secondary& s);
Real SecondaryInductance(const Secondary& s);

// Medhurst's self-capacitance, from his table of H against l/D interpolated linearly.
Real MedhurstCapacitance(const Secondary& s);

// The quarter-wave resonance of the bare coil over a ground plane by the TSSP curve fit.
Real TsspResonance(const Secondary& s);

// The bare secondary's quarter-wave resonance, the model that predicts the measured coils
// best: the Medhurst lumped resonance for short coils, the TSSP fit for long ones, blended
// linearly between h/d = 4.5 and 5.5 so that the result follows the geometry continuously.
struct BareResonance {
  Real medhurst;  // Hz
  Real tssp;      // Hz
  Real weight;    // of the TSSP fit
  Real f;         // Hz
};
BareResonance BareSecondaryResonance(const Secondary& s, Real Lb);

// The frequency of L with C, and the capacitance that resonates with L at f.
Real ResonantFrequency(Real L, Real C);
Real ResonantCapacitance(Real L, Real f);

}  // namespace kovaro
