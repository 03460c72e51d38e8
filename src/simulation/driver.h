#pragma once

#include <limits>

#include "shell/constants.h"
#include "shell/real.h"
#include "simulation/settings.h"

namespace kovaro {

// The solid-state driver: the voltage it applies to the primary circuit at time t.
// Holds its own copy of the settings, which stay fixed for the run.
class Driver {
 public:
  explicit Driver(const SimulationSettings& settings)
      : settings_(settings), plain_(!settings.CBsegue && !settings.CBoffset) {}

  // The driver voltage at t; calls come at non-decreasing times within a run.
  Real InputVoltage(Real t) {
    // The common case inline: the waveform itself, at a time whose value is known already.
    if (plain_ && t == cached_time_ && t <= settings_.NEtempo) {
      LastDriverOutput = cached_value_;
      return cached_value_;
    }
    return Evaluate(t);
  }

  Real FeedbackCurrent = 0;   // ILa after the latest finished step
  Real LastDriverOutput = 0;  // the value InputVoltage returned last

 private:
  Real Evaluate(Real t);
  Real Base(Real t);

  SimulationSettings settings_;
  bool plain_;  // no current feedback and no offset: the waveform alone until Ts
  // The engine asks for the waveform at the same time up to three times in a row; the value
  // depends on t alone, so it is computed once. No time equals NaN: the cache starts empty.
  Real cached_time_ = std::numeric_limits<Real>::quiet_NaN();
  Real cached_value_ = 0;
};

// "Set stop time to": NEcycles input periods.
Real StopTimeFor(const SimulationSettings& settings);

}  // namespace kovaro
