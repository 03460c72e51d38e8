#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frequency/netlist.h"
#include "frequency/response.h"
#include "shell/report_log.h"

namespace kovaro {

// Refuses a range that is not `points` >= 2 positive, increasing frequencies.
void ValidateRange(const FrequencyRange& range);

// What "Plot" shows: the circuit, its modes and its response at the range's frequencies, with
// the gain in dB (minus infinity for a gain of 0) and |Zin| as the chart draws them.
struct FrequencyPlot {
  CircuitSystem circuit;
  std::vector<Mode> modes;
  std::vector<Real> f;
  std::vector<Response> response;
  std::vector<Real> decibels;
  std::vector<Real> ohms;
};

// A mode's report line: "Mode 1: f=... Hz, Q=...", a time constant, or "no damping".
std::string ModeLine(int32_t number, const Mode& m);

// "Plot": computes everything first, then reports the modes and the largest gain, so that a
// fault reports nothing. A mode without damping is reported as such.
FrequencyPlot PlotFrequencyResponse(const ElementSet& e, bool no_load, const FrequencyRange& range,
                                    ReportLog& log);

// A range around the circuit's oscillating modes, from a third below the lowest to half
// above the highest, widened to three significant digits; none when it has no such mode.
std::optional<FrequencyRange> RangeAroundModes(const std::vector<Mode>& modes);

}  // namespace kovaro
