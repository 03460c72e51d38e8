#pragma once

#include <cstdint>
#include <vector>

#include "shell/real.h"
#include "simulation/driver.h"
#include "simulation/settings.h"

namespace kovaro {

// The sine or cosine drive's values at the times of the last run, kept for a run that follows
// with the same waveform, peak, offset and frequency (the same run again, or a sweep of an
// element). A value is reused only where its time is equal too, so each one is exactly what
// computing it again would give.
class SineCache {
 public:
  SineCache();

  // Starts a run: the values are forgotten unless they belong to the same waveform.
  void Begin(const SimulationSettings& settings);

  // The driver's value at t, the j-th time of the run (j counts from 0 in every run).
  // Needs DependsOnTimeAlone(t); throws what computing the value throws.
  Real Value(int32_t j, Real t, Driver& driver);
  // The values u[0..count-1] at the times t[0..count-1], the j-th time of the run onwards.
  void Values(int32_t j, const Real* t, int32_t count, Real* u, Driver& driver);

 private:
  Waveform waveform_ = Waveform::SquaredSine;
  Real peak_ = 0;
  Real frequency_ = 0;
  bool offset_ = false;
  int32_t count_ = 0;        // values kept, for the times j = 0 .. count_ - 1
  std::vector<Real> times_;  // fixed capacity, allocated once
  std::vector<Real> values_;
};

}  // namespace kovaro
