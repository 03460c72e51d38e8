#pragma once

#include "shell/real.h"
#include "simulation/settings.h"

namespace kovaro {

inline constexpr Real kTwoPi = 6.283185307179586477L;

// The solid-state driver: the voltage it applies to the primary circuit at time t.
// Holds its own copy of the settings, which stay fixed for the run.
class Driver {
 public:
  explicit Driver(const SimulationSettings& settings) : settings_(settings) {}

  // The driver voltage at t; calls come at non-decreasing times within a run.
  Real InputVoltage(Real t);

  Real FeedbackCurrent = 0;   // ILa after the latest finished step
  Real LastDriverOutput = 0;  // the value InputVoltage returned last

 private:
  Real Base(Real t);

  SimulationSettings settings_;
  // The engine asks for the waveform at the same time up to three times in a row; the value
  // depends on t alone, so it is computed once.
  bool cached_ = false;
  Real cached_time_ = 0;
  Real cached_value_ = 0;
};

// "Set stop time to": NEcycles input periods.
Real StopTimeFor(const SimulationSettings& settings);

}  // namespace kovaro
