#pragma once

#include <cstdint>

#include "simulation/driver.h"
#include "simulation/engine.h"
#include "simulation/waveform_store.h"

namespace kovaro {

// What both integration rules do once the new state of sample k is known.
class StepWriter {
 public:
  StepWriter(WaveformStore& store, EngineValues& ev, Driver& driver, Real rin, Real h)
      : store_(store), ev_(ev), driver_(driver), rin_(rin), h_(h) {}

  void Write(int32_t k, const Vector4& next, Real& t);

 private:
  WaveformStore& store_;
  EngineValues& ev_;
  Driver& driver_;
  Real rin_;
  Real h_;
};

// Steps first .. n-1 of a run, one sample at a time, from the state and time in ev.
void TrapezoidalSteps(int32_t first, int32_t n, Driver& driver, StepWriter& writer, EngineValues& ev);
void EulerSteps(int32_t n, Driver& driver, StepWriter& writer, EngineValues& ev);

// Scales samples first .. n-1 for display when no value of the run can overflow, given its
// maxima and bounds of the magnitudes of Vin and VLa before `first`; returns whether it did.
bool ScaleSafely(int32_t first, int32_t n, const SimulationSettings& s, const EngineValues& ev,
                 Real vin_largest, Real vla_largest, WaveformStore& store);

// The display scaling of a whole run; an overflow throws with the samples before it scaled.
void ScaleForDisplay(int32_t n, const SimulationSettings& s, const EngineValues& ev, WaveformStore& store);

}  // namespace kovaro
