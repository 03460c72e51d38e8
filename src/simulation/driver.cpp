#include "simulation/driver.h"

#include <cmath>

#include "shell/float_error.h"

namespace kovaro {
namespace {

constexpr Real kTwo63 = 9223372036854775808.0L;

// Whether x rounded to the nearest integer, ties to even, is odd. Below 2^63 in magnitude,
// adding 2^63 leaves no fraction bits, so the default rounding of the sum rounds x exactly as
// nearbyint does, without its cost of saving the floating-point environment. Larger values
// are even integers already.
bool RoundsToOdd(Real x) {
  if (!(std::fabs(x) < kTwo63)) return false;
  const Real m = x >= 0 ? (x + kTwo63) - kTwo63 : (x - kTwo63) + kTwo63;
  return std::fabs(m) < kTwo63 && (static_cast<int64_t>(m) & 1) != 0;
}

}  // namespace

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
      value = RoundsToOdd(Ck(Ck(2 * f) * t) - 0.5L) ? -v : v;
      break;
    case Waveform::SquaredCosine:
      value = RoundsToOdd(Ck(Ck(2 * f) * t)) ? -v : v;
      break;
  }
  cached_time_ = t;
  cached_value_ = value;
  return value;
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
  if (s.CBoffset) v = Ck(v + peak);
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
