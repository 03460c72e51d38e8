#include "simulation/engine.h"

#include <algorithm>
#include <cmath>
#include <limits>
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
  if (!IsFinite((v[0] - v[0]) + (v[1] - v[1]) + (v[2] - v[2]) + (v[3] - v[3]))) [[unlikely]]
    throw FloatError(kOverflow);
}

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

// A and B are zero where the circuit has no coupling: A[0][0], A[0][2], A[0][3], A[2][0],
// A[2][1], B[0] and B[2] are 0 * h. Their terms are left out of the sums. That is exact: a
// term 0 * x (x finite) is a zero, and adding a zero changes a sum only when the sum is -0
// and the zero is +0. A sum of nonzero values is never -0 (exact cancellation gives +0), and
// every sum here starts from x[i] or from +0, and x[i] is never -0, since it comes from such
// sums.
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
    // y[i] = x[i] + sum of (A[i][j] x[j]) / 2 + (B[i] u) / 2, added in this order; halving
    // by multiplication gives the same result as dividing by 2.
    y[0] = x[0] + (a[0][1] * x[1]) * 0.5L;
    y[1] = x[1] + (a[1][0] * x[0]) * 0.5L + (a[1][1] * x[1]) * 0.5L + (a[1][2] * x[2]) * 0.5L +
           (a[1][3] * x[3]) * 0.5L + (b[1] * u) * 0.5L;
    y[2] = x[2] + (a[2][2] * x[2]) * 0.5L + (a[2][3] * x[3]) * 0.5L;
    y[3] = x[3] + (a[3][0] * x[0]) * 0.5L + (a[3][1] * x[1]) * 0.5L + (a[3][2] * x[2]) * 0.5L +
           (a[3][3] * x[3]) * 0.5L + (b[3] * u) * 0.5L;
    for (int32_t i = 0; i < 4; ++i) {
      z[i] = p[i][0] * y[0] + p[i][1] * y[1] + p[i][2] * y[2] + p[i][3] * y[3];
    }
    RequireFinite(z);  // a value of y that is not finite makes z not finite too
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
    y[0] = x[0] + a[0][1] * x[1];
    y[1] = x[1] + a[1][0] * x[0] + a[1][1] * x[1] + a[1][2] * x[2] + a[1][3] * x[3] + b[1] * u;
    y[2] = x[2] + a[2][2] * x[2] + a[2][3] * x[3];
    y[3] = x[3] + a[3][0] * x[0] + a[3][1] * x[1] + a[3][2] * x[2] + a[3][3] * x[3] + b[3] * u;
    RequireFinite(y);
    writer.Write(k, y, t);
    x = y;
  }
  ev.x = x;
  ev.y = y;
  ev.t = t;
}

void ScaleForDisplay(int32_t n, const SimulationSettings& s, const EngineValues& ev, WaveformStore& store) {
  const std::array<Real, kChannelCount> scale = s.Scale;
  const std::array<Real, kChannelCount> offset = s.Offset;
  // Rounding is monotonic, so no value can overflow when the largest magnitude of each
  // channel scales to a finite bound; then the values need no check one by one. The state
  // channels' largest magnitudes are the maxima of the run.
  Sample largest{};
  for (int32_t i = 0; i < 4; ++i) largest[i + 1] = std::fabs(ev.StateMaxima[i].Value);
  for (int32_t k = 0; k < n; ++k) {
    largest[Vin] = std::max(largest[Vin], std::fabs(store.Channels[k][Vin]));
    largest[VLa] = std::max(largest[VLa], std::fabs(store.Channels[k][VLa]));
  }
  bool safe = true;
  for (int32_t c = 0; c < kChannelCount; ++c) {
    safe = safe && IsFinite(largest[c] * std::fabs(scale[c]) + std::fabs(offset[c]));
  }
  for (int32_t k = 0; k < n; ++k) {
    Sample& sample = store.Channels[k];
    if (safe) {
      for (int32_t c = 0; c < kChannelCount; ++c) sample[c] = sample[c] * scale[c] + offset[c];
    } else {
      for (int32_t c = 0; c < kChannelCount; ++c) sample[c] = Ck(Ck(sample[c] * scale[c]) + offset[c]);
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
  const Real h = StepLength(Ck(store.ViewRange.TimeTo - store.ViewRange.TimeFrom), n);
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

  ScaleForDisplay(n, s, ev, store);
  SetValueLimits(s, ev, store.ViewRange);
  if (s.CBsalvar) WriteTableFile(state.DesignName, store, host);
  WriteRunReport(ev.StateMaxima, state.Elements, s, host);
  host.EnableSaveReference();
  store.ShownChannels = s.Shown;
  store.FullRange = store.ViewRange;
  host.ShowPlot();
}

}  // namespace kovaro
