#include "sweep/sweep.h"

#include <cfloat>
#include <cmath>

#include "shell/float_error.h"
#include "shell/format.h"
#include "shell/messages.h"
#include "shell/text_file.h"

namespace kovaro {
namespace {

Real& Swept(SweptQuantity q, ElementSet& e, SimulationSettings& s) {
  switch (q) {
    case SweptQuantity::Ca:
      return e.Ca;
    case SweptQuantity::La:
      return e.La;
    case SweptQuantity::Lb:
      return e.Lb;
    case SweptQuantity::Cb:
      return e.Cb;
    case SweptQuantity::Rb:
      return e.Rb;
    case SweptQuantity::kab:
      return e.kab;
    case SweptQuantity::RLa:
      return e.RLa;
    case SweptQuantity::RLb:
      return e.RLb;
    case SweptQuantity::Rin:
      return e.Rin;
    case SweptQuantity::NEfin:
      return s.InputFrequency;
    case SweptQuantity::NEvin:
      return s.InputVoltage;
    case SweptQuantity::NEtempo:
      return s.StopTime;
    case SweptQuantity::NEstart:
      return s.FeedbackStart;
  }
  return e.Ca;
}

}  // namespace

Real SweptValue(SweptQuantity q, const ElementSet& elements, const SimulationSettings& settings) {
  ElementSet e = elements;
  SimulationSettings s = settings;
  return Swept(q, e, s);
}

SweepRange RangeAround(Real value) {
  if (value == 0) return SweepRange{0, 1, 21};
  const Real to = value * 1.1L;  // the largest reals have no 10 % above them
  return SweepRange{value * 0.9L, std::isfinite(to) ? to : std::copysign(LDBL_MAX, value), 21};
}

std::string SweptName(SweptQuantity q) {
  static const char* const kNames[kSweptCount] = {"Ca (F)",
                                                  "La (H)",
                                                  "Lb (H)",
                                                  "Cb (F)",
                                                  "Rb (Ohms)",
                                                  "kab",
                                                  "RLa (Ohms)",
                                                  "RLb (Ohms)",
                                                  "Rin (Ohms)",
                                                  "Input frequency (Hz)",
                                                  "Input voltage (V peak)",
                                                  "Stop time (s)",
                                                  "Feedback start (s)"};
  return kNames[static_cast<int32_t>(q)];
}

void ValidateSweep(const SweepRange& r) {
  if (r.points < 2 || r.points > kMostSweepPoints)
    throw InputError("Points: a sweep takes from 2 to " + FormatInt(kMostSweepPoints) + " points");
  if (r.to == r.from) throw InputError("To: the end of a sweep must differ from its start (From)");
  if (r.logarithmic && !(r.from > 0 && r.to > 0))
    throw InputError("From, To: a logarithmic sweep takes positive values only");
}

Real SweepValue(const SweepRange& r, int32_t i) {
  if (i == 0) return r.from;
  if (i == r.points - 1) return r.to;
  const Real steps = static_cast<Real>(r.points - 1);
  if (r.logarithmic) return Ck(r.from * std::pow(Div(r.to, r.from), Div(i, steps)));
  return Ck(r.from + Div(Ck(Ck(r.to - r.from) * i), steps));
}

std::string SweepRow(const SweepPoint& p) {
  std::string row = FormatReal(p.value, 15, -1);
  if (!p.fault.empty()) return row + " " + p.fault;
  return row + " " + FormatReal(p.maxima[StVCb].Value, 15, 5) + " " +
         FormatReal(p.summary.VoltageGain, 14, 5) + " " + FormatReal(p.summary.EnergyRatio, 10, 5);
}

Sweep::Sweep(const ElementSet& elements, const SimulationSettings& settings, SweptQuantity quantity,
             const SweepRange& range)
    : elements_(elements),
      settings_(settings),
      quantity_(quantity),
      range_(range),
      run_(std::make_unique<RunBuffers>()) {
  ValidateSweep(range);
  // Every value first: a range whose values overflow is refused before any run.
  points_.reserve(static_cast<size_t>(range.points));
  for (int32_t i = 0; i < range.points; ++i) values_.push_back(SweepValue(range, i));
}

const SweepPoint& Sweep::Next() {
  SweepPoint point;
  point.value = values_[points_.size()];
  ElementSet elements = elements_;
  SimulationSettings s = settings_;
  Swept(quantity_, elements, s) = point.value;
  try {
    const std::optional<RunSummary> summary = QuietRun(elements, s, run_->Target());
    if (summary) {
      point.maxima = run_->Engine.StateMaxima;
      point.summary = *summary;
    } else {
      point.fault = kTooFewPoints;
    }
  } catch (const KovaroError& e) {
    point.fault = e.what();
  }
  points_.push_back(point);
  return points_.back();
}

namespace {

std::string CancelledLine(int32_t made, int32_t points) {
  return "Sweep cancelled after " + FormatInt(made) + " of " + FormatInt(points) + " points";
}

}  // namespace

void ReportSweep(const std::string& design_name, const Sweep& sweep, ReportLog& log) {
  const std::vector<SweepPoint>& points = sweep.Points();
  const bool cancelled = !sweep.Done();
  const auto made = static_cast<int32_t>(points.size());
  std::vector<std::string> lines{"", "Sweep of " + SweptName(sweep.Quantity()) + ":"};
  for (const SweepPoint& p : points) lines.push_back(SweepRow(p));
  if (cancelled) lines.push_back(CancelledLine(made, sweep.Range().points));
  log.LogLines(lines);  // thousands of rows: appended in one go
  const std::string name = design_name + ".swp";
  TextFile file(name, true);
  for (const SweepPoint& p : points) file.WriteLine(SweepRow(p));
  if (cancelled) file.WriteLine(CancelledLine(made, sweep.Range().points));
  file.Close();
  log.LogLine("Sweep saved as " + name);
}

}  // namespace kovaro
