#include "frequency/frequency_plot.h"

#include <cmath>

#include "shell/format.h"
#include "shell/messages.h"
#include "shell/real_math.h"

namespace kovaro {

inline constexpr int32_t kMostFrequencyPoints = 100000;

void ValidateRange(const FrequencyRange& range) {
  if (!(range.from > 0)) throw InputError("From (Hz) must be greater than 0");
  if (!(range.to > range.from)) throw InputError("To (Hz) must be greater than From (Hz)");
  if (range.points < 2 || range.points > kMostFrequencyPoints)
    throw InputError("Points must be between 2 and 100000");
}

std::string ModeLine(int32_t number, const Mode& m) {
  const std::string name = "Mode " + FormatInt(number) + ": ";
  if (m.oscillating)
    return name + "f=" + FormatReal(m.f, 15, 5) + " Hz, " +
           (std::isinf(m.Q) ? "no damping" : "Q=" + FormatReal(m.Q, 15, -1));
  return name + (std::isinf(m.tau) ? "no damping" : "time constant=" + FormatReal(m.tau, 15, -1) + " s");
}

FrequencyPlot PlotFrequencyResponse(const ElementSet& e, bool no_load, const FrequencyRange& range,
                                    ReportLog& log) {
  ValidateRange(range);
  FrequencyPlot plot{
      BuildCircuit(e, no_load), {}, LogFrequencies(range.from, range.to, range.points), {}, {}, {}};
  plot.modes = NaturalModes(plot.circuit);
  plot.response.reserve(plot.f.size());
  size_t largest = 0;
  for (size_t i = 0; i < plot.f.size(); ++i) {
    const Response r = FrequencyResponse(plot.circuit, plot.f[i]);
    plot.response.push_back(r);
    plot.decibels.push_back(Decibels(r.gain));
    plot.ohms.push_back(std::abs(r.impedance));
    if (std::abs(r.gain) > std::abs(plot.response[largest].gain)) largest = i;
  }
  log.LogLine("");
  log.LogLine("Natural modes:");
  int32_t i = 0;
  for (const Mode& m : plot.modes) log.LogLine(ModeLine(++i, m));
  log.LogLine("Largest gain=" + FormatReal(std::abs(plot.response[largest].gain), 15, 5) + " at " +
              FormatReal(plot.f[largest], 15, 5) + " Hz");
  return plot;
}

namespace {

// x to three significant digits, down or up.
Real ThreeDigits(Real x, bool up) {
  const Real unit = PowerOfTen(static_cast<int32_t>(std::floor(std::log10(x))) - 2);
  return (up ? std::ceil(x / unit) : std::floor(x / unit)) * unit;
}

}  // namespace

std::optional<FrequencyRange> RangeAroundModes(const std::vector<Mode>& modes) {
  Real low = INFINITY;
  Real high = 0;
  for (const Mode& m : modes) {
    if (!m.oscillating || !(m.f > 0) || !std::isfinite(m.f)) continue;
    low = std::fmin(low, m.f);
    high = std::fmax(high, m.f);
  }
  if (!(high > 0)) return std::nullopt;
  return FrequencyRange{ThreeDigits(low / 1.5L, false), ThreeDigits(high * 1.5L, true), 1000};
}

}  // namespace kovaro
