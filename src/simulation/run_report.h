#pragma once

#include <array>
#include <string>

#include "elements/element_set.h"
#include "shell/report_log.h"
#include "simulation/engine.h"
#include "simulation/settings.h"
#include "simulation/waveform_store.h"

namespace kovaro {

// DesignName + ".tab": every (SampleCount div 601 + 1)-th sample, then the "Table saved as"
// line. Throws FileError; an older table of the name then keeps its bytes.
void WriteTableFile(const std::string& design_name, const WaveformStore& store, ReportLog& log);

// The report of a completed run: maxima with energies and times, gain, energy ratio.
RunSummary WriteRunReport(const std::array<StateMaximum, 4>& maxima, const ElementSet& elements,
                          const SimulationSettings& settings, ReportLog& log);

}  // namespace kovaro
