#include "simulation/waveform_store.h"

#include <algorithm>

namespace kovaro {

WaveformStore::WaveformStore()
    : Time(kCapacity), Channels(kCapacity), ReferenceTime(kCapacity), ReferenceChannels(kCapacity) {}

void SaveReference(WaveformStore& store) {
  store.ReferenceCount = store.SampleCount;
  const int32_t n = std::clamp(store.SampleCount, 0, kCapacity);
  std::copy_n(store.Time.begin(), n, store.ReferenceTime.begin());
  std::copy_n(store.Channels.begin(), n, store.ReferenceChannels.begin());
}

}  // namespace kovaro
