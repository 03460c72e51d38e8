#pragma once

#include <cstdint>

#include "design/design_host.h"

namespace kovaro {

// "Input signal" radio group items.
enum class InputSignal : int32_t { CosinusoidBetween = 0, SinusoidBetween = 1, SinusoidAbove = 2 };

// The lossless design window's fields and the main window values it reads.
struct LosslessInputs {
  Real k = 37;
  Real l = 39;
  Real m = 41;
  Real Ca = 5.07E-9L;
  Real Lb = 0.0282L;
  Real Cb = 1.04E-11L;
  InputSignal input_signal = InputSignal::SinusoidBetween;
  bool series_parallel = false;  // prototype "series LC - parallel LC"
  Real vin = 180;
  bool details = false;

  bool operator==(const LosslessInputs&) const = default;
};

// "Design": resonances and input frequency in the ratio k:l:m, all input energy in Cb.
void DesignLossless(const LosslessInputs& in, DesignTarget state, DesignHost& host);

}  // namespace kovaro
