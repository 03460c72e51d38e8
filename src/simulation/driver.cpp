#include "simulation/driver.h"

#include <cmath>

#include "shell/float_error.h"
#include "shell/real_math.h"

namespace kovaro {
Real Driver::Base(Real t) {
  if (t == cached_time_) return cached_value_;
  const Real v = settings_.InputVoltage;
  const Real f = settings_.InputFrequency;
  Real value = 0;
  switch (settings_.VinWaveform) {
    case Waveform::Sine:
      value = Ck(v * std::sin(Ck(t * Ck(f * kTwoPi))));
      break;
    case Waveform::Cosine:
      value = Ck(v * std::cos(Ck(t * Ck(f * kTwoPi))));
      break;
    case Waveform::SquaredSine:
    case Waveform::SquaredCosine:
      value = IsOdd(HalfPeriods(t)) ? -v : v;
      break;
  }
  cached_time_ = t;
  cached_value_ = value;
  return value;
}

Real Driver::HalfPeriods(Real t) const {
  const Real cycles = Ck(Ck(2 * settings_.InputFrequency) * t);
  return RoundToEven(settings_.VinWaveform == Waveform::SquaredSine ? cycles - 0.5L : cycles);
}

Real Driver::Evaluate(Real t) {
  const SimulationSettings& s = settings_;
  const Real peak = s.InputVoltage;
  Real v = 0;
  if (s.Feedback && t > s.FeedbackStart) {
    v = FeedbackCurrent >= 0 ? peak : -peak;
  } else {
    v = Base(t);
  }
  v = Offset(v);
  if (t > s.StopTime) {
    if (t <= Ck(s.StopTime + s.TurnOffDelay)) {
      v = LastDriverOutput;
    } else {
      switch (s.AfterStop) {
        case StopMode::OpenDriver:
          v = Ck(-FeedbackCurrent * s.OpenResistance);
          break;
        case StopMode::ShortCircuit:
          v = 0;
          break;
        case StopMode::FreeWheelingDiodes: {
          const Real w = Ck(-FeedbackCurrent * s.OpenResistance);
          const Real upper = Ck(peak + s.DiodeDrop);
          const Real lower = Ck(-peak - s.DiodeDrop);
          v = w > upper ? upper : (w < lower ? lower : w);
          break;
        }
        case StopMode::MultiplyVin:
          v = Ck(v * s.StopMultiplier);
          break;
      }
    }
  }
  LastDriverOutput = v;
  return v;
}

Real StopTimeFor(const SimulationSettings& settings) {
  return Div(settings.StopCycles, settings.InputFrequency);
}

}  // namespace kovaro
