#include "simulation/driver.h"

#include <cmath>

#include "shell/float_error.h"
#include "shell/real_math.h"

namespace kovaro {
Real Driver::Base(Real t) {
  if (t == cached_time_) return cached_value_;
  const Real v = settings_.NEvin;
  const Real f = settings_.NEfin;
  Real value = 0;
  switch (settings_.RGvin) {
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
  const Real cycles = Ck(Ck(2 * settings_.NEfin) * t);
  return RoundToEven(settings_.RGvin == Waveform::SquaredSine ? cycles - 0.5L : cycles);
}

Real Driver::Evaluate(Real t) {
  const SimulationSettings& s = settings_;
  const Real peak = s.NEvin;
  Real v = 0;
  if (s.CBsegue && t > s.NEstart) {
    v = FeedbackCurrent >= 0 ? peak : -peak;
  } else {
    v = Base(t);
  }
  v = Offset(v);
  if (t > s.NEtempo) {
    if (t <= Ck(s.NEtempo + s.NEatraso)) {
      v = LastDriverOutput;
    } else {
      switch (s.RGstop) {
        case StopMode::OpenDriver:
          v = Ck(-FeedbackCurrent * s.NEropen);
          break;
        case StopMode::ShortCircuit:
          v = 0;
          break;
        case StopMode::FreeWheelingDiodes: {
          const Real w = Ck(-FeedbackCurrent * s.NEropen);
          const Real upper = Ck(peak + s.NEvd);
          const Real lower = Ck(-peak - s.NEvd);
          v = w > upper ? upper : (w < lower ? lower : w);
          break;
        }
        case StopMode::MultiplyVin:
          v = Ck(v * s.NEmult);
          break;
      }
    }
  }
  LastDriverOutput = v;
  return v;
}

Real StopTimeFor(const SimulationSettings& settings) { return Div(settings.NEcycles, settings.NEfin); }

}  // namespace kovaro
