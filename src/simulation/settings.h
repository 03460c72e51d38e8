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
  // Driver: "Vin" (RGvin), "Input voltage" (NEvin), "Input frequency" (NEfin), the current
  // feedback (CBsegue) from NEstart, "Add offset to Vin" (CBoffset).
  Waveform VinWaveform = Waveform::SquaredSine;
  Real InputVoltage = 180;       // peak, V
  Real InputFrequency = 300000;  // Hz
  bool Feedback = false;
  Real FeedbackStart = 1E-6L;  // s
  bool AddOffset = false;
  // Stopping the driver: at NEtempo, after a turn-off delay NEatraso, as RGstop says with
  // NEropen, NEvd, NEmult and NEcycles.
  Real StopTime = 1;          // s
  Real TurnOffDelay = 2E-6L;  // s
  StopMode AfterStop = StopMode::FreeWheelingDiodes;
  Real OpenResistance = 10000;  // ohms
  Real DiodeDrop = 0.8L;        // V
  Real StopMultiplier = 2;
  Real StopCycles = 9.75L;

  // Run: NEtmax, NEpontos, CBtrapezoidal, CBnoload, CBescala with NEvmax, CBsalvar, CBdetails.
  Real FinalTime = 0.0001L;  // s
  int32_t Points = 10000;
  bool Trapezoidal = true;
  bool RemoveLoad = true;
  bool UseMaximum = false;
  Real Maximum = 200000;
  bool SaveTable = false;
  bool ListDetails = false;

  // Display scaling per channel, in channel order: scales NEv, NEvca, NEila, NEvcb, NEilb,
  // Nevla; offsets NEovin, NEovca, NEoila, NEovcb, NEoilb, NEovla; shown CBVin, CBVCa,
  // CBILa, CBVcb, CBILb, CBVLa.
  std::array<Real, kChannelCount> Scale{10, 1, 1000, 1, 1000, 10};
  std::array<Real, kChannelCount> Offset{0, 0, 0, 0, 0, 0};
  std::array<bool, kChannelCount> Shown{true, true, true, true, true, true};

  bool operator==(const SimulationSettings&) const = default;
};

}  // namespace kovaro
