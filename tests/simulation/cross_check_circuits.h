#pragma once

#include <string>
#include <utility>
#include <vector>

#include "design/design_host_fake.h"
#include "design/lossless.h"
#include "design/lossy.h"
#include "design/tesla.h"
#include "simulation/run_host_fake.h"
#include "state/app_state.h"

// The three circuits of the ngspice cross-check, as the calculators design them with their
// windows' defaults: the lossless design, the lossy design with losses and a driver
// resistance, the regular Tesla coil.
inline std::vector<std::pair<std::string, kovaro::ElementSet>> CrossCheckCircuits() {
  using namespace kovaro;
  auto state = std::make_unique<AppState>();
  RecordingDesignHost design;
  std::vector<std::pair<std::string, ElementSet>> circuits;
  DesignLossless(LosslessInputs{}, *state, design);
  circuits.emplace_back("lossless", state->Elements);
  {
    ScopedWorkDir dir;
    DesignLossy(LossyInputs{}, *state, design);
  }
  state->Elements.RLa = 0.05L;
  state->Elements.RLb = 40;
  state->Elements.Rin = 0.3L;
  circuits.emplace_back("lossy", state->Elements);
  DesignRegularCoil(TeslaInputs{}, *state, design);
  circuits.emplace_back("regular", state->Elements);
  return circuits;
}
