#include "simulation/engine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "shell/float_error.h"
#include "shell/format.h"
#include "simulation/driver.h"
#include "simulation/fused_trapezoid.h"
#include "simulation/plain_steps.h"
#include "simulation/run_report.h"

namespace kovaro {
namespace {

// The circuit equations x' = A x + B u, both multiplied by h.
void BuildSystem(const ElementSet& el, bool no_load, Real h, EngineValues& ev) {
  const CircuitSystem c = BuildCircuit(el, no_load);
  ev.M = c.M;
  ev.D = c.D;
  ev.G11 = c.G11;
  ev.G22 = c.G22;
  ev.G12 = c.G12;
  ev.SystemMatrix = c.A;
  ev.InputVector = c.B;
  for (Vector4& row : ev.SystemMatrix) {
    for (Real& e : row) e = Ck(e * h);
  }
  for (Real& e : ev.InputVector) e = Ck(e * h);
}

void SetValueLimits(const SimulationSettings& s, const EngineValues& ev, PlotRange& view) {
  Real top = 0;
  if (s.UseMaximum) {
    top = s.Maximum;
  } else {
    for (const StateMaximum& m : ev.StateMaxima) top = std::max(top, std::fabs(m.Value));
  }
  view.ValueTop = top;
  view.ValueBottom = -top;
}

class QuietHost : public RunHost {
 public:
  void LogLine(const std::string&) override {}
  void SetPoints(int32_t) override {}
  void EnableSaveReference() override {}
  void ShowPlot() override {}
};

}  // namespace

Real StepLength(Real duration, int32_t n) { return Div(duration, static_cast<Real>(n) - 1); }

void InvertInPlace(int32_t n, Matrix4& a, ReportLog& log) {
  for (int32_t k = 0; k < n; ++k) {
    const Real p = a[k][k];
    if (std::fabs(p) < 1e-12L) {
      log.LogLine("Something wrong (line " + FormatInt(k + 1) + "). The L matrix can't be inverted.");
      return;
    }
    a[k][k] = Div(1, p);
    for (int32_t j = 0; j < n; ++j) {
      if (j != k) a[k][j] = Div(-a[k][j], p);
    }
    for (int32_t i = 0; i < n; ++i) {
      if (i == k) continue;
      const Real q = a[i][k];
      a[i][k] = Div(q, p);
      for (int32_t j = 0; j < n; ++j) {
        if (j != k) a[i][j] = Ck(a[i][j] + Ck(q * a[k][j]));
      }
    }
  }
}

std::optional<RunSummary> RunSimulation(const ElementSet& elements, const SimulationSettings& s,
                                        const std::string& design_name, const RunTarget& target,
                                        RunHost& host) {
  WaveformStore& store = target.Store;
  EngineValues& ev = target.Engine;
  store.ViewRange.TimeFrom = 0;
  store.ViewRange.TimeTo = s.FinalTime;
  int32_t n = s.Points;
  if (s.InputFrequency != 0 && Div(n, Ck(s.FinalTime * s.InputFrequency)) < 40) {
    // The refused run keeps the count of the last completed one: its samples are still there.
    host.LogLine(kTooFewPoints);
    return std::nullopt;
  }
  ev.Completed.reset();  // the samples are about to change
  if (n > kCapacity) {
    n = kCapacity;
    store.SampleCount = n;
    host.SetPoints(n);
  } else {
    store.SampleCount = n;
  }
  const Real h = StepLength(Ck(store.ViewRange.TimeTo - store.ViewRange.TimeFrom), n);
  ev.StepLength = h;
  BuildSystem(elements, s.RemoveLoad, h, ev);

  store.ViewRange.ValueBottom = 1E12L;
  store.ViewRange.ValueTop = -1E12L;
  ev.x = {};
  store.Time[0] = 0;
  store.Channels[0] = {};
  ev.StateMaxima = {};
  if (s.Trapezoidal) {
    Matrix4& p = ev.TrapezoidMatrix;
    for (int32_t i = 0; i < 4; ++i) {
      for (int32_t j = 0; j < 4; ++j) {
        p[i][j] = Ck((i == j ? 1 : 0) - ev.SystemMatrix[i][j] / 2);
      }
    }
    InvertInPlace(4, p, host);
  }
  const Real rin = elements.Rin;
  bool done = false;
  if (s.Trapezoidal) {
    ev.t = h;
    Driver driver(s);
    done = FusedTrapezoidalRun(n, s, rin, driver, target.Sines, store, ev);
  }
  if (!done) {
    // The plain way, from the start: it ends where and as a fault ends the run.
    ev.x = {};
    ev.t = h;
    ev.StateMaxima = {};
    store.Channels[0] = {};
    Driver driver(s);  // FeedbackCurrent and LastDriverOutput start at 0
    StepWriter writer(store, ev, driver, rin, h);
    if (s.Trapezoidal) {
      TrapezoidalSteps(1, n, driver, writer, ev);
    } else {
      EulerSteps(n, driver, writer, ev);
    }
    ScaleForDisplay(n, s, ev, store);
  }
  SetValueLimits(s, ev, store.ViewRange);
  if (s.SaveTable) WriteTableFile(design_name, store, host);
  const RunSummary summary = WriteRunReport(ev.StateMaxima, elements, s, host);
  host.EnableSaveReference();
  store.ShownChannels = s.Shown;
  store.FullRange = store.ViewRange;
  ev.Completed = CompletedRun{s, elements};
  host.ShowPlot();
  return summary;
}

std::optional<RunSummary> QuietRun(const ElementSet& elements, SimulationSettings settings,
                                   const RunTarget& target) {
  settings.SaveTable = false;
  QuietHost host;
  return RunSimulation(elements, settings, std::string(), target, host);
}

}  // namespace kovaro
