#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "elements/element_set.h"
#include "geometry/coil_geometry.h"
#include "simulation/engine.h"

namespace kovaro {

// What "Copy summary" tells of a design.
struct SummaryInputs {
  std::string design_name;
  ElementSet elements;
  bool no_load = true;
  std::optional<CoilGeometry> geometry;                 // when the geometry window was used
  std::optional<std::array<StateMaximum, 4>> last_run;  // the maxima of the last completed run
};

// The plain-text summary a builder pastes into a forum post, one quantity a line, units
// written out, no tabs: the design name, the elements, the resonances of the primary and the
// secondary alone and the natural modes, the geometry's inputs (in metres) and its report,
// and the last run's maxima. A part that cannot be computed says so and why.
std::vector<std::string> DesignSummary(const SummaryInputs& in);

// "Copy summary": the summary written as design_name + ".txt" ("untitled.txt" before any
// design), then "Summary saved as".
// Throws FileError, the old file kept.
void WriteSummary(const std::string& design_name, const std::vector<std::string>& lines, ReportLog& log);

}  // namespace kovaro
