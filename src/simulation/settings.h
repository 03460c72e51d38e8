#pragma once

#include <array>
#include <cstdint>

#include "shell/real.h"

namespace kovaro {

inline constexpr int32_t kChannelCount = 6;  // Vin, VCa, ILa, VCb, ILb, VLa

// "Vin" radio group items.
enum class Waveform : int32_t { Sine = 0, Cosine = 1, SquaredSine = 2, SquaredCosine = 3 };

// "After stopping driver" radio group items.
enum class StopMode : int32_t { OpenDriver = 0, ShortCircuit = 1, FreeWheelingDiodes = 2, MultiplyVin = 3 };

// The main window's numbers and switches that a run reads, with their start-up values.
struct SimulationSettings {
  // Driver.
  Waveform RGvin = Waveform::SquaredSine;
  Real NEvin = 180;      // peak input voltage, V
  Real NEfin = 300000;   // input frequency, Hz
  bool CBsegue = false;  // primary current feedback after NEstart
  Real NEstart = 1E-6L;
  bool CBoffset = false;
  Real NEtempo = 1;       // stop time, s
  Real NEatraso = 2E-6L;  // turn-off delay, s
  StopMode RGstop = StopMode::FreeWheelingDiodes;
  Real NEropen = 10000;
  Real NEvd = 0.8L;
  Real NEmult = 2;
  Real NEcycles = 9.75L;

  // Run.
  Real NEtmax = 0.0001L;
  int32_t NEpontos = 10000;
  bool CBtrapezoidal = true;
  bool CBnoload = true;
  bool CBescala = false;
  Real NEvmax = 200000;
  bool CBsalvar = false;
  bool CBdetails = false;

  // Display scaling per channel, in channel order: scales NEv, NEvca, NEila, NEvcb, NEilb,
  // Nevla; offsets NEovin, NEovca, NEoila, NEovcb, NEoilb, NEovla; shown CBVin, CBVCa,
  // CBILa, CBVcb, CBILb, CBVLa.
  std::array<Real, kChannelCount> Scale{10, 1, 1000, 1, 1000, 10};
  std::array<Real, kChannelCount> Offset{0, 0, 0, 0, 0, 0};
  std::array<bool, kChannelCount> Shown{true, true, true, true, true, true};

  bool operator==(const SimulationSettings&) const = default;
};

}  // namespace kovaro
