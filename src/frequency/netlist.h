#pragma once

#include <cstdint>
#include <string>

#include "elements/element_set.h"
#include "shell/report_log.h"
#include "simulation/settings.h"

namespace kovaro {

// The frequency range of an AC analysis: `points` frequencies, logarithmic.
struct FrequencyRange {
  Real from;
  Real to;
  int32_t points;
};

// The circuit as a SPICE netlist: the elements (zero resistances left out, Rb only with the
// load in), the driver as a SIN or PULSE source with AC 1, a .tran with the run's step and
// final time, an .ac over `range`, and the .save and .print lines of the waveforms the plot
// shows, so that a batch run of SPICE writes them. Feedback and stop modes, which a netlist
// cannot express, are named in comment lines. Faults of the circuit as for a run; a number
// that SPICE cannot read, or an .ac of more than a million points a decade, is refused
// naming its field.
std::string SpiceNetlist(const std::string& title, const ElementSet& e, const SimulationSettings& s,
                         const FrequencyRange& range);

// "Export SPICE netlist": refuses what "Simulate and plot" refuses, with its message, then
// writes DesignName + ".cir" in the working directory.
void ExportNetlist(const std::string& design_name, const ElementSet& e, const SimulationSettings& s,
                   const FrequencyRange& range, ReportLog& log);

}  // namespace kovaro
