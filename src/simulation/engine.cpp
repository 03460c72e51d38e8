#include "simulation/engine.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "shell/app_state.h"
#include "shell/float_error.h"
#include "shell/format.h"
#include "simulation/driver.h"
#include "simulation/run_report.h"

namespace kovaro {
namespace {

// Inside the integration loops only products and sums of finite values occur, so the first
// value that is not finite comes from an overflow.
void RequireFinite(const Vector4& v) {
  for (Real e : v) {
    if (!std::isfinite(e)) throw FloatError(kOverflow);
  }
}

// The circuit equations x' = A x + B u, both multiplied by h afterwards.
void BuildSystem(const ElementSet& el, bool no_load, Real h, EngineValues& ev) {
  const Real la_lb = Ck(el.La * el.Lb);
  ev.M = Ck(el.kab * Sqrt(la_lb));
  ev.D = Ck(la_lb - Ck(ev.M * ev.M));
  ev.G11 = Div(el.Lb, ev.D);
  ev.G22 = Div(el.La, ev.D);
  ev.G12 = Div(-ev.M, ev.D);
  const Real r_primary = Ck(el.RLa + el.Rin);
  Matrix4& a = ev.SystemMatrix;
  a[0] = {0, Div(1, el.Ca), 0, 0};
  a[1] = {-ev.G11, Ck(-ev.G11 * r_primary), ev.G12, Ck(-ev.G12 * el.RLb)};
  a[2] = {0, 0, no_load ? 0 : Div(-1, Ck(el.Rb * el.Cb)), Div(-1, el.Cb)};
  a[3] = {-ev.G12, Ck(-ev.G12 * r_primary), ev.G22, Ck(-ev.G22 * el.RLb)};
  ev.InputVector = {0, ev.G11, 0, ev.G12};
  for (Vector4& row : a) {
    for (Real& e : row) e = Ck(e * h);
  }
  for (Real& e : ev.InputVector) e = Ck(e * h);
}

// What both integration rules do once the new state of sample k is known.
class StepWriter {
 public:
  StepWriter(WaveformStore& store, EngineValues& ev, Driver& driver, Real rin, Real h)
      : store_(store), ev_(ev), driver_(driver), rin_(rin), h_(h) {}

  void Write(int32_t k, const Vector4& next, Real& t) {
    store_.Time[k] = t;
    t = Ck(t + h_);
    Sample& sample = store_.Channels[k];
    for (int32_t i = 0; i < 4; ++i) {
      sample[i + 1] = next[i];
      StateMaximum& m = ev_.StateMaxima[i];
      if (std::fabs(next[i]) > std::fabs(m.Value)) {
        m.Value = next[i];
        m.Time = store_.Time[k];
      }
    }
    const Real ila = sample[ILa];
    driver_.FeedbackCurrent = ila;
    const Real rin_ila = Ck(rin_ * ila);
    sample[Vin] = Ck(driver_.InputVoltage(t) - rin_ila);
    sample[VLa] = Ck(Ck(sample[Vin] - sample[VCa]) - rin_ila);
  }

 private:
  WaveformStore& store_;
  EngineValues& ev_;
  Driver& driver_;
  Real rin_;
  Real h_;
};

void TrapezoidalSteps(int32_t n, Driver& driver, StepWriter& writer, EngineValues& ev) {
  const Matrix4 a = ev.SystemMatrix;
  const Vector4 b = ev.InputVector;
  const Matrix4 p = ev.TrapezoidMatrix;
  const Real h = ev.StepLength;
  Vector4 x = ev.x;
  Vector4 y{};
  Vector4 z{};
  Real t = ev.t;
  for (int32_t k = 1; k < n; ++k) {
    const Real u1 = driver.InputVoltage(t);
    const Real u2 = driver.InputVoltage(Ck(t + h));
    const Real u = u1 + u2;
    // Halving by multiplication gives the same result as dividing by 2.
    for (int32_t i = 0; i < 4; ++i) {
      Real acc = x[i];
      for (int32_t j = 0; j < 4; ++j) acc += (a[i][j] * x[j]) * 0.5L;
      y[i] = acc + (b[i] * u) * 0.5L;
    }
    for (int32_t i = 0; i < 4; ++i) {
      Real acc = 0;
      for (int32_t j = 0; j < 4; ++j) acc += p[i][j] * y[j];
      z[i] = acc;
    }
    RequireFinite(y);
    RequireFinite(z);
    writer.Write(k, z, t);
    x = z;
  }
  ev.x = x;
  ev.y = y;
  ev.z = z;
  ev.t = t;
}

void EulerSteps(int32_t n, Driver& driver, StepWriter& writer, EngineValues& ev) {
  const Matrix4 a = ev.SystemMatrix;
  const Vector4 b = ev.InputVector;
  Vector4 x = ev.x;
  Vector4 y{};
  Real t = ev.t;
  for (int32_t k = 1; k < n; ++k) {
    const Real u = driver.InputVoltage(t);
    for (int32_t i = 0; i < 4; ++i) {
      Real acc = x[i];
      for (int32_t j = 0; j < 4; ++j) acc += a[i][j] * x[j];
      y[i] = acc + b[i] * u;
    }
    RequireFinite(y);
    writer.Write(k, y, t);
    x = y;
  }
  ev.x = x;
  ev.y = y;
  ev.t = t;
}

void ScaleForDisplay(int32_t n, const SimulationSettings& s, WaveformStore& store) {
  for (int32_t k = 0; k < n; ++k) {
    for (int32_t c = 0; c < kChannelCount; ++c) {
      Real& v = store.Channels[k][c];
      v = Ck(Ck(v * s.Scale[c]) + s.Offset[c]);
    }
  }
}

void SetValueLimits(const SimulationSettings& s, const EngineValues& ev, PlotRange& view) {
  Real top = 0;
  if (s.CBescala) {
    top = s.NEvmax;
  } else {
    for (const StateMaximum& m : ev.StateMaxima) top = std::max(top, std::fabs(m.Value));
  }
  view.ValueTop = top;
  view.ValueBottom = -top;
}

}  // namespace

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

void RunSimulation(AppState& state, const SimulationSettings& s, RunHost& host) {
  WaveformStore& store = state.Store;
  EngineValues& ev = state.Engine;
  store.ViewRange.TimeFrom = 0;
  store.ViewRange.TimeTo = s.NEtmax;
  int32_t n = s.NEpontos;
  if (s.NEfin != 0 && Div(n, Ck(s.NEtmax * s.NEfin)) < 40) {
    // The refused run keeps the count of the last completed one: its samples are still there.
    host.LogLine("Too few points.");
    return;
  }
  if (n > kCapacity) {
    n = kCapacity;
    store.SampleCount = n;
    host.SetPoints(n);
  } else {
    store.SampleCount = n;
  }
  const Real h =
      Div(Ck(store.ViewRange.TimeTo - store.ViewRange.TimeFrom), static_cast<Real>(n) - 1);
  ev.StepLength = h;
  BuildSystem(state.Elements, s.CBnoload, h, ev);

  store.ViewRange.ValueBottom = 1E12L;
  store.ViewRange.ValueTop = -1E12L;
  ev.x = {};
  store.Time[0] = 0;
  store.Channels[0] = {};
  ev.StateMaxima = {};
  Driver driver(s);  // FeedbackCurrent and LastDriverOutput start at 0
  ev.t = h;
  StepWriter writer(store, ev, driver, state.Elements.Rin, h);
  if (s.CBtrapezoidal) {
    Matrix4& p = ev.TrapezoidMatrix;
    for (int32_t i = 0; i < 4; ++i) {
      for (int32_t j = 0; j < 4; ++j) {
        p[i][j] = Ck((i == j ? 1 : 0) - ev.SystemMatrix[i][j] / 2);
      }
    }
    InvertInPlace(4, p, host);
    TrapezoidalSteps(n, driver, writer, ev);
  } else {
    EulerSteps(n, driver, writer, ev);
  }

  ScaleForDisplay(n, s, store);
  SetValueLimits(s, ev, store.ViewRange);
  if (s.CBsalvar) WriteTableFile(state.DesignName, store, host);
  WriteRunReport(ev.StateMaxima, state.Elements, s, host);
  host.EnableSaveReference();
  store.ShownChannels = s.Shown;
  store.FullRange = store.ViewRange;
  host.ShowPlot();
}

}  // namespace kovaro
