#pragma once

#include <optional>
#include <string>

#include "elements/element_set.h"
#include "simulation/engine.h"
#include "simulation/sine_cache.h"
#include "simulation/waveform_store.h"

namespace kovaro {

// The program's shared data, created once and passed to every window.
struct AppState {
  ElementSet Elements;
  WaveformStore Store;
  std::string DesignName;  // base name of the output files; empty until a design sets it
  EngineValues Engine;
  SineCache Sines;  // sine values of the last run, for the next

  RunTarget Target() { return {Store, Engine, Sines}; }
};

// A run of the program's own elements into its own store.
inline std::optional<RunSummary> RunSimulation(AppState& state, const SimulationSettings& settings,
                                               RunHost& host) {
  return RunSimulation(state.Elements, settings, state.DesignName, state.Target(), host);
}

}  // namespace kovaro
