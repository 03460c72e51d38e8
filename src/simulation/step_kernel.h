#pragma once

#include <array>
#include <cstdint>

#include "shell/real.h"
#include "simulation/engine.h"
#include "simulation/waveform_store.h"

namespace kovaro {

// What the trapezoidal step reads besides the state, in one block of memory: the entries of A
// (times h) that kZeroEntries does not call zero, in the order the step uses them, B's two, the
// inverted matrix, Rin and the display scaling, which must be doubles (ScalingIsDouble): a
// double operand costs the x87 kernel no 80-bit load.
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
// times t[0..count] and their input terms. Step i stores its six scaled channels in samples[i]
// (with the time t[i] and Vin from u[i+1]), updates the maxima and thresholds (both start at 0
// with the run and are kept between calls) and advances the state; x receives the state after
// the last step. The arithmetic is the plain step's, operation for operation.
//
// A step whose Vin, VLa, z0 or z1 is not finite, or whose z2 or z3 is not, is dropped, and the
// call returns the number of steps made before it. Nothing of that step is stored in samples,
// and x is left as it came in, not advanced by the steps made. Where z2 or z3 is the one, the
// maxima and thresholds of the variables before it (z0 and z1, and z2 where it is z3) may
// already hold the dropped step's values; otherwise they are as after the last step made. The
// caller then runs the plain loop from the start, which reports the fault where it occurs.
using StepsFunction = int32_t(const StepConstants& c, int32_t count, const Real* t, const Real* u,
                              const InputTerms* input, Sample* samples, Vector4& x,
                              std::array<StateMaximum, 4>& maxima, std::array<double, 4>& thresholds);

// In C++, for every platform.
StepsFunction PortableSteps;

#if KOVARO_X87_KERNEL
// The same steps kept in the x87 registers, bit for bit PortableSteps' results: the compiler's
// code moves its values through memory, and 80-bit stores are slow.
StepsFunction X87Steps;
#endif

// The steps a run makes: the x87 kernel where it is built, unless the build chose the portable
// ones (KOVARO_PORTABLE_STEPS).
inline int32_t KernelSteps(const StepConstants& c, int32_t count, const Real* t, const Real* u,
                           const InputTerms* input, Sample* samples, Vector4& x,
                           std::array<StateMaximum, 4>& maxima, std::array<double, 4>& thresholds) {
#if KOVARO_X87_KERNEL && !KOVARO_PORTABLE_STEPS
  return X87Steps(c, count, t, u, input, samples, x, maxima, thresholds);
#else
  return PortableSteps(c, count, t, u, input, samples, x, maxima, thresholds);
#endif
}

}  // namespace kovaro
