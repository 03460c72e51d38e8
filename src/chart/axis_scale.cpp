#include "chart/axis_scale.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <initializer_list>

#include "shell/numeric_text.h"
#include "shell/real_math.h"

namespace kovaro {
namespace {

// Beyond this many steps from zero a round value needs more digits than a label shows.
constexpr Real kMostSteps = 1e14L;

// i * s * 10^k for the integers i in [low, high], s of 1, 2 or 5 nearest to a fifth of the
// range, making four to nine of them; none when the range is too narrow for its size to be
// labelled with 15 digits.
std::vector<Real> LinearTicks(Real low, Real high) {
  const Real fifth = (high / 2 - low / 2) / 2.5L;  // halves first: the range itself may overflow
  if (!(fifth > 0) || !std::isfinite(fifth)) return {};
  int32_t k = static_cast<int32_t>(std::floor(std::log10(fifth)));
  if (k < -4900) return {};  // powers of ten there lose their digits
  const Real ratio = fifth / PowerOfTen(k);
  Real s = ratio < 1.4142L ? 1 : ratio < 3.1623L ? 2 : ratio < 7.0711L ? 5 : 10;
  if (s == 10) {
    s = 1;
    ++k;
  }
  const Real step = s * PowerOfTen(k);
  // The ends count as round when they are within rounding of a step.
  const Real first = std::ceil(low / step - 1e-15L);
  const Real last = std::floor(high / step + 1e-15L);
  if (!(std::fmax(std::fabs(first), std::fabs(last)) < kMostSteps)) return {};
  std::vector<Real> ticks;
  for (Real i = first; i <= last; ++i) ticks.push_back(i * s * PowerOfTen(k));
  return ticks;
}

// Powers of ten every q decades (q of 1, 2 or 5 times a power of ten) over three decades or
// more; 1, 2 and 5 times the powers of ten when they give three to nine ticks; otherwise the
// linear ticks.
std::vector<Real> LogarithmicTicks(Real low, Real high, Real decades, Real lowest_decade) {
  std::vector<Real> ticks;
  const auto keep = [&](Real t) {
    if (t >= low && t <= high) ticks.push_back(t);
  };
  if (decades >= 3) {
    Real q = 1;
    for (Real unit = 1; decades / q > 7; unit *= 10) {
      for (Real m : {1.0L, 2.0L, 5.0L}) {
        q = m * unit;
        if (decades / q <= 7) break;
      }
    }
    for (Real e = std::floor(lowest_decade / q) * q; e <= lowest_decade + decades + q; e += q)
      keep(PowerOfTen(static_cast<int32_t>(e)));
    return ticks;
  }
  const auto first = static_cast<int32_t>(std::floor(lowest_decade));
  for (int32_t e = first; e <= first + 4; ++e) {
    for (Real m : {1.0L, 2.0L, 5.0L}) keep(m * PowerOfTen(e));
  }
  if (ticks.size() >= 3) return ticks;
  return LinearTicks(low, high);
}

// All labels of an axis in one notation: fixed when every tick from 0.001 to below 1E6
// (zero aside), scientific otherwise.
std::vector<Tick> Labelled(const std::vector<Real>& values, Real low, Real high) {
  std::vector<Tick> ticks;
  if (values.empty()) {
    ticks.push_back({low, GeneralText(low)});
    if (GeneralText(high) != ticks.front().label) ticks.push_back({high, GeneralText(high)});
    return ticks;
  }
  const bool fixed = std::all_of(values.begin(), values.end(), [](Real v) {
    return v == 0 || (std::fabs(v) >= 0.001L && std::fabs(v) < 1e6L);
  });
  for (Real v : values)
    ticks.push_back({v, fixed ? DecimalText(v, 15, -100000, 100000) : DecimalText(v, 15, 1, 0)});
  return ticks;
}

Real Clamped(Real v) { return std::fmin(std::fmax(v, -LDBL_MAX), LDBL_MAX); }

}  // namespace

AxisScale::AxisScale(Real low, Real high, bool logarithmic)
    : low_(low), high_(high), logarithmic_(logarithmic) {
  if (logarithmic) {
    from_ = std::log10(low);
    width_ = std::log10(high) - from_;
    ticks_ = Labelled(LogarithmicTicks(low, high, width_, from_), low, high);
  } else {
    from_ = low / 2;
    width_ = high / 2 - from_;
    ticks_ = Labelled(LinearTicks(low, high), low, high);
  }
}

AxisScale AxisScale::Linear(Real low, Real high) {
  if (!(high > low)) return FitLinear({low, high});
  return AxisScale(low, high, false);
}

AxisScale AxisScale::Logarithmic(Real low, Real high) {
  if (!(low > 0) || !(high > low)) return FitLogarithmic({low, high});
  return AxisScale(low, high, true);
}

double AxisScale::Position(Real v) const {
  if (!std::isfinite(v) || (logarithmic_ && !(v > 0))) return NAN;
  if (logarithmic_) return static_cast<double>((std::log10(v) - from_) / width_);
  return static_cast<double>((v / 2 - from_) / width_);
}

Real AxisScale::ValueAt(double position) const {
  const Real at = from_ + static_cast<Real>(position) * width_;
  return logarithmic_ ? std::pow(10.0L, at) : Clamped(2 * at);
}

AxisScale FitLinear(const std::vector<Real>& values, Real least_margin) {
  Real low = INFINITY;
  Real high = -INFINITY;
  for (Real v : values) {
    if (!std::isfinite(v)) continue;
    low = std::fmin(low, v);
    high = std::fmax(high, v);
  }
  if (!(high >= low)) return AxisScale::Linear(0, 1);
  Real margin = high > low ? (high / 2 - low / 2) / 10 : std::fabs(high) / 20;
  margin = std::fmax(margin, least_margin);
  if (margin == 0) margin = 1;
  const Real from = Clamped(low - margin);
  const Real to = Clamped(high + margin);
  return AxisScale::Linear(from, to > from ? to : std::nextafter(from, INFINITY));
}

AxisScale FitLogarithmic(const std::vector<Real>& values) {
  Real least = INFINITY;
  Real most = 0;
  for (Real v : values) {
    if (!std::isfinite(v) || !(v > 0)) continue;
    least = std::fmin(least, v);
    most = std::fmax(most, v);
  }
  if (!(most > 0)) return AxisScale::Logarithmic(1, 10);
  const Real from = least / 2 > 0 ? least / 2 : least;
  const Real to = std::fmin(most * 2, LDBL_MAX);
  return AxisScale::Logarithmic(from, to > from ? to : std::nextafter(from, INFINITY));
}

}  // namespace kovaro
