#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "elements/element_set.h"
#include "shell/report_log.h"
#include "simulation/engine.h"
#include "simulation/settings.h"

namespace kovaro {

// The quantities a sweep can vary: the nine elements, then four of the main window's numbers.
enum class SweptQuantity : int32_t { Ca, La, Lb, Cb, Rb, kab, RLa, RLb, Rin, NEfin, NEvin, NEtempo, NEstart };
inline constexpr int32_t kSweptCount = 13;

// Its name in the window's list and the report, as the element window and main window call it.
std::string SweptName(SweptQuantity q);

struct SweepRange {
  Real from = 0;
  Real to = 0;
  int32_t points = 0;
  bool logarithmic = false;
};

inline constexpr int32_t kMostSweepPoints = 10000;

// Refuses, naming the field, a range of fewer than 2 or more than kMostSweepPoints points, an
// end equal to the start, or a logarithmic range not of positive values.
void ValidateSweep(const SweepRange& range);

// The quantity's present value among the elements and settings.
Real SweptValue(SweptQuantity q, const ElementSet& elements, const SimulationSettings& settings);

// A starting range: 10 % either side of a value (up to the largest real), or 0 to 1 around 0.
SweepRange RangeAround(Real value);

// The i-th value of a valid range: evenly spaced, or in equal ratios; the ends are exact.
Real SweepValue(const SweepRange& range, int32_t i);

// One point: the run's four signed maxima with their times (VCa, ILa, VCb, ILb), its gain and
// energy ratio; or the message of the fault, or of the refusal, that stopped it.
struct SweepPoint {
  Real value = 0;
  std::array<StateMaximum, 4> maxima{};
  RunSummary summary;
  std::string fault;  // empty for a completed run
};

// The report's and the file's row of a point.
std::string SweepRow(const SweepPoint& point);

// A sweep made one point at a time, so that a window can show progress and stop it: each point
// is the run "Simulate and plot" makes with the one value changed, in a store of its own and
// without the table file.
class Sweep {
 public:
  Sweep(const ElementSet& elements, const SimulationSettings& settings, SweptQuantity quantity,
        const SweepRange& range);

  bool Done() const { return static_cast<int32_t>(points_.size()) == range_.points; }
  // Runs the next point.
  const SweepPoint& Next();
  const std::vector<SweepPoint>& Points() const { return points_; }
  SweptQuantity Quantity() const { return quantity_; }
  const SweepRange& Range() const { return range_; }

 private:
  ElementSet elements_;
  SimulationSettings settings_;
  SweptQuantity quantity_;
  SweepRange range_;
  std::unique_ptr<RunBuffers> run_;  // the runs' own store
  std::vector<Real> values_;
  std::vector<SweepPoint> points_;
};

// What a sweep reports when it ends, its rows together: an empty line, "Sweep of <name>:", a
// row per point made, "Sweep cancelled after N of M points" when it did not make them all;
// then the rows (and that line) written as design_name + ".swp", and "Sweep saved as". Throws
// FileError, the old file kept.
void ReportSweep(const std::string& design_name, const Sweep& sweep, ReportLog& log);

}  // namespace kovaro
