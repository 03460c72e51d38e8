#pragma once

#include <cstdint>

#include "design/design_host.h"

namespace kovaro {

// The regular Tesla coil window's fields.
struct TeslaInputs {
  int32_t k = 8;
  int32_t l = 9;
  Real C1 = 5.07E-9L;    // NECa
  Real L2 = 0.0282L;     // NElb
  Real C2 = 1.055E-11L;  // NEcb
  Real transfers = 1;    // NEtran, energy transfers per half period of the input
  bool update = true;    // CBupdate

  bool operator==(const TeslaInputs&) const = default;
};

// "Apply": an ideal coil whose two resonances stand in the ratio k:l.
void DesignRegularCoil(const TeslaInputs& in, DesignTarget state, DesignHost& host);

}  // namespace kovaro
