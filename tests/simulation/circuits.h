#pragma once

#include "elements/element_set.h"

// A lossless coil designed for a 294273.2 Hz sine drive: all input energy reaches Cb after
// 9.75 input periods.
inline kovaro::ElementSet LosslessCoil() {
  kovaro::ElementSet e;
  e.Ca = 5.07E-9L;
  e.La = 58.4562648953E-6L;
  e.Lb = 0.0282L;
  e.Cb = 1.04E-11L;
  e.kab = 0.1021619L;
  e.Rb = 500000;
  return e;
}
