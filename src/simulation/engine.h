#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "shell/real.h"
#include "shell/report_log.h"
#include "simulation/circuit.h"
#include "simulation/settings.h"
#include "simulation/sine_cache.h"
#include "simulation/waveform_store.h"

namespace kovaro {

inline constexpr const char* kTooFewPoints = "Too few points.";

struct StateMaximum {
  Real Value = 0;  // signed value of largest magnitude, volts or amperes
  Real Time = 0;   // time of the sample that holds it, seconds
};

// The settings and elements a completed run ran with, for what is computed from its samples
// afterwards (they are stored scaled for display).
struct CompletedRun {
  SimulationSettings settings;
  ElementSet elements;
};

// What the last run computed; overwritten by the next run.
struct EngineValues {
  Real StepLength = 0;
  Real M = 0;
  Real D = 0;
  Real G11 = 0;
  Real G22 = 0;
  Real G12 = 0;
  Matrix4 SystemMatrix{};     // A, times h
  Vector4 InputVector{};      // B, times h
  Matrix4 TrapezoidMatrix{};  // (I - A/2), inverted
  Vector4 x{};
  Vector4 y{};
  Vector4 z{};
  std::array<StateMaximum, 4> StateMaxima{};
  Real t = 0;
  std::optional<CompletedRun> Completed;  // none from a run's start until it completes
};

// Where a run leaves what it computes: its samples, its values, and the sine values it keeps
// for the next run.
struct RunTarget {
  WaveformStore& Store;
  EngineValues& Engine;
  SineCache& Sines;
};

// A target of its own, for runs made for another purpose than showing them.
struct RunBuffers {
  WaveformStore Store;
  EngineValues Engine;
  SineCache Sines;
  RunTarget Target() { return {Store, Engine, Sines}; }
};

// The figures of a run's report besides its maxima.
struct RunSummary {
  Real VoltageGain = 0;  // maximum VCb / NEvin
  Real EnergyRatio = 0;  // of the maximum energies in Cb and Ca
};

// What a run does to the windows around it.
class RunHost : public ReportLog {
 public:
  virtual void SetPoints(int32_t n) = 0;   // "Points" field, through its setter
  virtual void EnableSaveReference() = 0;  // "Save reference"
  virtual void ShowPlot() = 0;             // repaint the plot window, then show it
};

// Gauss-Jordan inversion of the leading n x n block without pivot search. A near-singular
// pivot is only reported as a line; the matrix stays as far as it was transformed.
void InvertInPlace(int32_t n, Matrix4& a, ReportLog& log);

// The step of a run of n points over `duration`.
Real StepLength(Real duration, int32_t n);

// One "Simulate and plot" run of the elements, giving its report's gain and energy ratio; none
// when it is refused for too few points. The table, when the settings ask for one, is named
// after the design. A fault throws FloatError or FileError and leaves what the run did before it.
std::optional<RunSummary> RunSimulation(const ElementSet& elements, const SimulationSettings& settings,
                                        const std::string& design_name, const RunTarget& target,
                                        RunHost& host);

// The same run for another purpose than showing it: nothing reported, no table written, no
// window touched; only the target changes.
std::optional<RunSummary> QuietRun(const ElementSet& elements, SimulationSettings settings,
                                   const RunTarget& target);

}  // namespace kovaro
