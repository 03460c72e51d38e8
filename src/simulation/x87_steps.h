#pragma once

#include <array>
#include <cstdint>

#include "shell/real.h"
#include "simulation/engine.h"
#include "simulation/waveform_store.h"

namespace kovaro {

// What the trapezoidal step reads besides the state, in one block of memory: the nonzero
// entries of A (times h) in the order the step uses them, B's two, the inverted matrix, Rin
// and the display scaling, which must be doubles (ScalingIsDouble): a double operand costs
// no 80-bit load.
struct StepConstants {
  Real a01, a22, a23, a10, a30, a11, a31, a12, a32, a13, a33;
  Real b1, b3;
  Real p[4][4];
  Real rin;
  double scale[kChannelCount];
  double offset[kChannelCount];
  float half = 0.5f;
  double lower = 1 - 0x1p-40;  // lowers a maximum to a threshold below it
};

// The input's terms of y1 and y3 in a step: (b1 (u0 + u1))/2 and (b3 (u0 + u1))/2.
struct InputTerms {
  Real y1;
  Real y3;
};

// The terms of steps 0 .. count-1 from the driver's values u[0..count], the same for all when
// `constant` (u holds one value); returns the largest |u[1..count]|.
Real MakeInputTerms(const StepConstants& c, const Real* u, int32_t count, bool constant, InputTerms* terms);

bool ScalingIsDouble(const SimulationSettings& s);
StepConstants MakeStepConstants(const EngineValues& ev, Real rin, const SimulationSettings& s);

// Up to `count` trapezoidal steps from the state x, with the driver's values u[0..count] at the
// times t[0..count] and their input terms: each stores its six scaled channels in samples[i], updates the
// maxima and advances x; thresholds start at 0 with the maxima and are kept between calls. Stops before a
// step whose values are not finite, storing nothing of it; returns the number of steps made. The arithmetic
// is the plain step's, operation for operation, kept in the x87 registers: the compiler's code moves its
// values through memory, and 80-bit stores are slow.
int32_t X87Steps(const StepConstants& c, int32_t count, const Real* t, const Real* u, const InputTerms* input,
                 Sample* samples, Vector4& x, std::array<StateMaximum, 4>& maxima,
                 std::array<double, 4>& thresholds);

}  // namespace kovaro
