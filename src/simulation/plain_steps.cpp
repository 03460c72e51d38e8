#include "simulation/plain_steps.h"

#include <algorithm>
#include <cmath>

#include "shell/float_error.h"

namespace kovaro {
namespace {

// Inside the integration loops only products and sums of finite values occur, so the first
// value that is not finite comes from an overflow.
void RequireFinite(const Vector4& v) {
  if (!IsFinite((v[0] - v[0]) + (v[1] - v[1]) + (v[2] - v[2]) + (v[3] - v[3]))) [[unlikely]]
    throw FloatError(kOverflow);
}

}  // namespace

void StepWriter::Write(int32_t k, const Vector4& next, Real& t) {
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

// The entries that kZeroEntries (circuit.h) names are 0 * h, and BuildCircuit checks that they
// are; their terms are left out of the sums. That is exact: a term 0 * x (x finite) is a zero,
// and adding a zero changes a sum only when the sum is -0 and the zero is +0. A sum of nonzero
// values is never -0 (exact cancellation gives +0), and every sum here starts from x[i] or
// from +0, and x[i] is never -0, since it comes from such sums.
void TrapezoidalSteps(int32_t first, int32_t n, Driver& driver, StepWriter& writer, EngineValues& ev) {
  const Matrix4 a = ev.SystemMatrix;
  const Vector4 b = ev.InputVector;
  const Matrix4 p = ev.TrapezoidMatrix;
  const Real h = ev.StepLength;
  Vector4 x = ev.x;
  Vector4 y{};
  Vector4 z{};
  Real t = ev.t;
  for (int32_t k = first; k < n; ++k) {
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

bool ScaleSafely(int32_t first, int32_t n, const SimulationSettings& s, const EngineValues& ev,
                 Real vin_largest, Real vla_largest, WaveformStore& store) {
  const std::array<Real, kChannelCount> scale = s.Scale;
  const std::array<Real, kChannelCount> offset = s.Offset;
  // Rounding is monotonic, so no value can overflow when the largest magnitude of each
  // channel scales to a finite bound; then the values need no check one by one. The state
  // channels' largest magnitudes are the maxima of the run.
  Sample largest{};
  for (int32_t i = 0; i < 4; ++i) largest[i + 1] = std::fabs(ev.StateMaxima[i].Value);
  largest[Vin] = vin_largest;
  largest[VLa] = vla_largest;
  for (int32_t k = first; k < n; ++k) {
    largest[Vin] = std::max(largest[Vin], std::fabs(store.Channels[k][Vin]));
    largest[VLa] = std::max(largest[VLa], std::fabs(store.Channels[k][VLa]));
  }
  for (int32_t c = 0; c < kChannelCount; ++c) {
    if (!IsFinite(largest[c] * std::fabs(scale[c]) + std::fabs(offset[c]))) return false;
  }
  for (int32_t k = first; k < n; ++k) {
    Sample& sample = store.Channels[k];
    for (int32_t c = 0; c < kChannelCount; ++c) sample[c] = sample[c] * scale[c] + offset[c];
  }
  return true;
}

void ScaleForDisplay(int32_t n, const SimulationSettings& s, const EngineValues& ev, WaveformStore& store) {
  if (ScaleSafely(0, n, s, ev, 0, 0, store)) return;
  for (int32_t k = 0; k < n; ++k) {
    Sample& sample = store.Channels[k];
    for (int32_t c = 0; c < kChannelCount; ++c) sample[c] = Ck(Ck(sample[c] * s.Scale[c]) + s.Offset[c]);
  }
}

}  // namespace kovaro
