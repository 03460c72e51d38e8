#include "simulation/sine_cache.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "simulation/waveform_store.h"

namespace kovaro {

SineCache::SineCache() : times_(kCapacity + 1), values_(kCapacity + 1) {}

void SineCache::Begin(const SimulationSettings& s) {
  // Compared by their bits: a -0 peak gives other values than +0.
  const bool same = s.VinWaveform == waveform_ && s.AddOffset == offset_ && s.InputVoltage == peak_ &&
                    std::signbit(s.InputVoltage) == std::signbit(peak_) && s.InputFrequency == frequency_ &&
                    std::signbit(s.InputFrequency) == std::signbit(frequency_);
  if (same) return;
  waveform_ = s.VinWaveform;
  offset_ = s.AddOffset;
  peak_ = s.InputVoltage;
  frequency_ = s.InputFrequency;
  count_ = 0;
}

Real SineCache::Value(int32_t j, Real t, Driver& driver) {
  if (j < count_) {
    if (times_[j] == t) return values_[j];
    count_ = j;  // another sequence of times from here on
  }
  const Real v = driver.TimeValue(t);
  if (j == count_ && j < static_cast<int32_t>(times_.size())) {
    times_[j] = t;
    values_[j] = v;
    ++count_;
  }
  return v;
}

void SineCache::Values(int32_t j, const Real* t, int32_t count, Real* u, Driver& driver) {
  // Times are positive, so equal times have equal bytes; bytes are compared and copied, which
  // is cheaper than 80-bit loads and stores.
  int32_t i = 0;
  const int32_t kept = std::min(count, count_ - j);
  while (i < kept && std::memcmp(&times_[j + i], &t[i], kRealValueBytes) == 0) {
    std::memcpy(&u[i], &values_[j + i], sizeof(Real));
    ++i;
  }
  for (; i < count; ++i) u[i] = Value(j + i, t[i], driver);
}

}  // namespace kovaro
