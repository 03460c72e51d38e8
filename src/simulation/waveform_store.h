#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "shell/real.h"
#include "simulation/settings.h"

namespace kovaro {

inline constexpr int32_t kCapacity = 50000;

using Sample = std::array<Real, kChannelCount>;

enum Channel : int32_t { Vin = 0, VCa = 1, ILa = 2, VCb = 3, ILb = 4, VLa = 5 };

struct PlotRange {
  Real TimeFrom = 0;
  Real TimeTo = 0;
  Real ValueBottom = 0;
  Real ValueTop = 0;
};

// Samples of the last run and of the reference copy. The arrays get their fixed capacity
// once, at construction; nothing grows or is allocated afterwards.
struct WaveformStore {
  WaveformStore();

  int32_t SampleCount = 0;
  std::vector<Real> Time;
  std::vector<Sample> Channels;

  int32_t ReferenceCount = 0;
  std::vector<Real> ReferenceTime;
  std::vector<Sample> ReferenceChannels;
  bool ReferenceShown = false;  // saved and not deleted: "Delete reference" is enabled

  std::array<bool, kChannelCount> ShownChannels{};
  PlotRange ViewRange;
  PlotRange FullRange;
};

// "Save reference": copies the last run into the reference.
void SaveReference(WaveformStore& store);

}  // namespace kovaro
