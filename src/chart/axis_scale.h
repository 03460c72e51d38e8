#pragma once

#include <string>
#include <vector>

#include "shell/real.h"

namespace kovaro {

// A mark on an axis: a round value and its label.
struct Tick {
  Real value;
  std::string label;
};

// A chart axis over any range of reals, those beyond the range of doubles included: a value
// is drawn at its position, 0 at the low end and 1 at the high end, so that nothing a chart
// is given can overflow; a handful of ticks stand at round values (1, 2 or 5 times a power
// of ten, or powers of ten on a logarithmic axis over many decades).
class AxisScale {
 public:
  // low < high, both finite; a logarithmic axis takes positive ends.
  static AxisScale Linear(Real low, Real high);
  static AxisScale Logarithmic(Real low, Real high);

  Real Low() const { return low_; }
  Real High() const { return high_; }
  bool IsLogarithmic() const { return logarithmic_; }
  // The position of a value; NaN for one the axis cannot show (not finite, or not positive
  // on a logarithmic axis).
  double Position(Real v) const;
  // The value at a position.
  Real ValueAt(double position) const;
  const std::vector<Tick>& Ticks() const { return ticks_; }

 private:
  AxisScale(Real low, Real high, bool logarithmic);

  Real low_;
  Real high_;
  bool logarithmic_;
  Real from_;   // the low end, halved or as its logarithm
  Real width_;  // the range, halved or in decades
  std::vector<Tick> ticks_;
};

// A linear axis around the finite values with a margin of 5 % of their range (at least
// `least_margin`), or around the value when all are equal; 0 to 1 when there are none.
AxisScale FitLinear(const std::vector<Real>& values, Real least_margin = 0);

// A logarithmic axis from half the least to twice the largest positive finite value; 1 to 10
// when there are none.
AxisScale FitLogarithmic(const std::vector<Real>& values);

}  // namespace kovaro
