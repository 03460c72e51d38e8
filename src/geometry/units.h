#pragma once

#include <cstdint>
#include <string>

#include "shell/real.h"

namespace kovaro {

// The units the coil geometry window shows its lengths in; the core computes in metres.
enum class LengthUnit : int32_t { Metre = 0, Millimetre = 1, Inch = 2 };
inline constexpr int32_t kLengthUnitCount = 3;

// "m", "mm", "in".
std::string UnitName(LengthUnit unit);

// Metres in one unit: 1, 0.001, 0.0254 (the inch is 25.4 mm exactly).
Real MetresPer(LengthUnit unit);

// American Wire Gauge, whole and half gauges from 4 to 44: choice 0 is none, choice i >= 1 is
// gauge 4 + (i - 1) / 2.
inline constexpr int32_t kGaugeChoices = 82;
Real GaugeOfChoice(int32_t choice);

// The bare wire's diameter in metres by the gauge's definition, 0.127 mm times
// 92^((36 - n) / 39).
Real AwgDiameter(Real gauge);

}  // namespace kovaro
