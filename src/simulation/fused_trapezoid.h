#pragma once

#include <cstdint>

#include "simulation/driver.h"
#include "simulation/engine.h"
#include "simulation/sine_cache.h"
#include "simulation/waveform_store.h"

namespace kovaro {

// The trapezoidal steps of a run, its display scaling done as each sample is stored, with
// sample 0 already zero in the store and the state at rest. Gives results equal bit for bit to
// the steps followed by the scaling pass. Returns false, with the store, the values and the
// driver left in any state, where that run would fault (overflow in a step or in the scaling);
// the caller then makes the run the plain way, which ends with that run's partial state.
bool FusedTrapezoidalRun(int32_t n, const SimulationSettings& s, Real rin, Driver& driver, SineCache& cache,
                         WaveformStore& store, EngineValues& ev);

}  // namespace kovaro
