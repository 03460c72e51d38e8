#pragma once

#include "shell/real.h"

namespace kovaro {

// The nine element values shared by the calculators and the simulation; all zero at start.
struct ElementSet {
  Real Ca = 0;   // primary capacitor, F
  Real La = 0;   // primary coil, H
  Real Lb = 0;   // secondary coil, H
  Real Cb = 0;   // secondary capacitance, F
  Real Rb = 0;   // load resistance across Cb, ohms
  Real kab = 0;  // coupling coefficient
  Real RLa = 0;  // primary coil resistance, ohms
  Real RLb = 0;  // secondary coil resistance, ohms
  Real Rin = 0;  // driver output resistance, ohms

  bool operator==(const ElementSet&) const = default;
};

}  // namespace kovaro
