#pragma once

#include <limits>

#include "shell/constants.h"
#include "shell/float_error.h"
#include "shell/real.h"
#include "simulation/settings.h"

namespace kovaro {

// The solid-state driver: the voltage it applies to the primary circuit at time t.
// Holds its own copy of the settings, which stay fixed for the run.
class Driver {
 public:
  explicit Driver(const SimulationSettings& settings)
      : settings_(settings), plain_(!settings.Feedback && !settings.AddOffset) {}

  // The driver voltage at t; calls come at non-decreasing times within a run.
  Real InputVoltage(Real t) {
    // The common case inline: the waveform itself, at a time whose value is known already.
    if (plain_ && t == cached_time_ && t <= settings_.StopTime) {
      LastDriverOutput = cached_value_;
      return cached_value_;
    }
    return Evaluate(t);
  }

  // Whether the value at t depends on t alone: no feedback yet and the driver not stopped.
  bool DependsOnTimeAlone(Real t) const {
    return !(settings_.Feedback && t > settings_.FeedbackStart) && !(t > settings_.StopTime);
  }
  // The value at a time of which DependsOnTimeAlone holds, computed again (no state changes).
  Real TimeValue(Real t) { return Offset(Base(t)); }
  bool IsSquareWave() const {
    return settings_.VinWaveform == Waveform::SquaredSine || settings_.VinWaveform == Waveform::SquaredCosine;
  }
  // Whether a square wave holds one value from t0 to t1: its rounded half-period count is
  // monotone in t, so equal counts at both ends hold throughout.
  bool ConstantBetween(Real t0, Real t1) const { return HalfPeriods(t0) == HalfPeriods(t1); }

  Real FeedbackCurrent = 0;   // ILa after the latest finished step
  Real LastDriverOutput = 0;  // the value InputVoltage returned last

 private:
  Real Evaluate(Real t);
  Real Base(Real t);
  Real Offset(Real v) const { return settings_.AddOffset ? Ck(v + settings_.InputVoltage) : v; }
  Real HalfPeriods(Real t) const;  // the square waves' rounded count of half periods at t

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
