// The run against a straightforward evaluation kept here as the reference: sinl and the plain
// loop, the driver's parity by an integer conversion, the display scaling as a second pass.
// Every stored sample, every maximum with its time and the final state must be equal bit for
// bit, on the three cross-check circuits with every waveform, feedback on and off and every
// stop mode, and a faulting run must leave the same partial state.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "simulation/cross_check_circuits.h"
#include "simulation/run_host_fake.h"
#include "simulation/run_report.h"
#include "state/app_state.h"

using namespace kovaro;

namespace {

constexpr Real kTwoPiReference = 6.283185307179586477L;

Real C(Real r) {
  if (!std::isfinite(r)) throw FloatError(std::isnan(r) ? kInvalidOperation : kOverflow);
  return r;
}

Real Rounded(Real x) { return std::nearbyint(x); }

bool Odd(Real n) { return std::fabs(n) < 9223372036854775808.0L && (static_cast<int64_t>(n) & 1) != 0; }

struct ReferenceDriver {
  const SimulationSettings& s;
  Real feedback = 0;
  Real last = 0;

  Real Voltage(Real t) {
    const Real V = s.InputVoltage;
    const Real f = s.InputFrequency;
    Real v = 0;
    if (s.Feedback && t > s.FeedbackStart) {
      v = feedback >= 0 ? V : -V;
    } else if (s.VinWaveform == Waveform::Sine) {
      v = C(V * sinl(C(t * C(f * kTwoPiReference))));
    } else if (s.VinWaveform == Waveform::Cosine) {
      v = C(V * cosl(C(t * C(f * kTwoPiReference))));
    } else if (s.VinWaveform == Waveform::SquaredSine) {
      v = Odd(Rounded(C(C(2 * f) * t) - 0.5L)) ? -V : V;
    } else {
      v = Odd(Rounded(C(C(2 * f) * t))) ? -V : V;
    }
    if (s.AddOffset) v = C(v + V);
    if (t > s.StopTime) {
      if (t <= C(s.StopTime + s.TurnOffDelay)) {
        v = last;
      } else if (s.AfterStop == StopMode::OpenDriver) {
        v = C(-feedback * s.OpenResistance);
      } else if (s.AfterStop == StopMode::ShortCircuit) {
        v = 0;
      } else if (s.AfterStop == StopMode::FreeWheelingDiodes) {
        const Real w = C(-feedback * s.OpenResistance);
        const Real upper = C(V + s.DiodeDrop), lower = C(-V - s.DiodeDrop);
        v = w > upper ? upper : (w < lower ? lower : w);
      } else {
        v = C(v * s.StopMultiplier);
      }
    }
    last = v;
    return v;
  }
};

struct Reference {
  std::vector<Real> time;
  std::vector<Sample> channels;
  std::array<StateMaximum, 4> maxima{};
  Vector4 x{};
  std::vector<std::string> report;
  std::string fault;
};

// The run as its steps are written: all sums in full, each sample written and then scaled,
// over the samples of the run before (a fault leaves those it does not reach).
Reference RunReference(const ElementSet& e, const SimulationSettings& s, const WaveformStore& before) {
  Reference r;
  bool stepped = false;
  RecordingHost report;  // the report of the run's maxima, as the run writes it
  const int32_t n = std::min(s.Points, kCapacity);
  r.time.assign(before.Time.begin(), before.Time.begin() + n);
  r.channels.assign(before.Channels.begin(), before.Channels.begin() + n);
  r.time[0] = 0;
  r.channels[0] = {};  // at rest, then scaled like every other sample
  try {
    const Real h = C(s.FinalTime / (static_cast<Real>(n) - 1));
    CircuitSystem c = BuildCircuit(e, s.RemoveLoad);
    Matrix4 a = c.A;
    Vector4 b = c.B;
    for (auto& row : a)
      for (Real& v : row) v = C(v * h);
    for (Real& v : b) v = C(v * h);
    Matrix4 p{};
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) p[i][j] = C((i == j ? 1 : 0) - a[i][j] / 2);
    RecordingHost log;
    if (s.Trapezoidal) InvertInPlace(4, p, log);
    ReferenceDriver driver{s};
    Real t = h;
    for (int32_t k = 1; k < n; ++k) {
      Vector4 next{};
      if (s.Trapezoidal) {
        const Real u1 = driver.Voltage(t);
        const Real u2 = driver.Voltage(C(t + h));
        const Real u = u1 + u2;
        Vector4 y{};
        for (int i = 0; i < 4; ++i) {
          y[i] = r.x[i];
          for (int j = 0; j < 4; ++j)
            if (a[i][j] != 0) y[i] += (a[i][j] * r.x[j]) * 0.5L;
          if (b[i] != 0) y[i] += (b[i] * u) * 0.5L;
        }
        for (int i = 0; i < 4; ++i)
          next[i] = p[i][0] * y[0] + p[i][1] * y[1] + p[i][2] * y[2] + p[i][3] * y[3];
      } else {
        const Real u = driver.Voltage(t);
        for (int i = 0; i < 4; ++i) {
          next[i] = r.x[i];
          for (int j = 0; j < 4; ++j)
            if (a[i][j] != 0) next[i] += a[i][j] * r.x[j];
          if (b[i] != 0) next[i] += b[i] * u;
        }
      }
      if (!std::isfinite(next[0] + next[1] + next[2] + next[3])) throw FloatError(kOverflow);
      r.time[k] = t;
      t = C(t + h);
      Sample& sample = r.channels[k];
      for (int i = 0; i < 4; ++i) {
        sample[i + 1] = next[i];
        if (std::fabs(next[i]) > std::fabs(r.maxima[i].Value)) r.maxima[i] = {next[i], r.time[k]};
      }
      driver.feedback = sample[ILa];
      const Real rin_ila = C(e.Rin * sample[ILa]);
      sample[Vin] = C(driver.Voltage(t) - rin_ila);
      sample[VLa] = C(C(sample[Vin] - sample[VCa]) - rin_ila);
      r.x = next;
    }
    stepped = true;
    for (Sample& sample : r.channels)
      for (int c2 = 0; c2 < kChannelCount; ++c2) sample[c2] = C(C(sample[c2] * s.Scale[c2]) + s.Offset[c2]);
    WriteRunReport(r.maxima, e, s, report);
  } catch (const FloatError& f) {
    r.fault = f.what();
    if (!stepped) r.x = {};  // the final state is kept only when every step is made
  }
  r.report = report.lines;
  return r;
}

bool Same(Real a, Real b) { return a == b && std::signbit(a) == std::signbit(b); }

void ExpectSameRun(AppState& state, const SimulationSettings& s, const std::string& name) {
  const Reference ref = RunReference(state.Elements, s, state.Store);
  RecordingHost host;
  const std::string fault = FaultOf(state, s, host);
  ASSERT_EQ(fault, ref.fault) << name;
  EXPECT_EQ(host.lines, ref.report) << name;
  const WaveformStore& store = state.Store;
  const int32_t n = std::min(s.Points, kCapacity);
  int32_t differing = 0;
  for (int32_t k = 0; k < n; ++k) {
    differing += !Same(store.Time[k], ref.time[k]);
    for (int c = 0; c < kChannelCount; ++c) differing += !Same(store.Channels[k][c], ref.channels[k][c]);
  }
  EXPECT_EQ(differing, 0) << name;
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(Same(state.Engine.StateMaxima[i].Value, ref.maxima[i].Value)) << name << " maximum " << i;
    EXPECT_TRUE(Same(state.Engine.StateMaxima[i].Time, ref.maxima[i].Time)) << name << " time " << i;
    EXPECT_TRUE(Same(state.Engine.x[i], ref.x[i])) << name << " state " << i;
  }
}

}  // namespace

TEST(EngineReference, EveryWaveformFeedbackAndStopModeBitForBit) {
  auto state = std::make_unique<AppState>();
  const auto circuits = CrossCheckCircuits();
  for (const auto& [circuit, elements] : circuits) {
    state->Elements = elements;
    for (int w = 0; w < 4; ++w) {
      for (bool feedback : {false, true}) {
        for (int stop = 0; stop < 4; ++stop) {
          SimulationSettings s;
          s.VinWaveform = static_cast<Waveform>(w);
          s.Feedback = feedback;
          s.FeedbackStart = 2e-5L;
          s.AddOffset = stop == 3;
          s.RemoveLoad = circuit != "lossy";
          s.AfterStop = static_cast<StopMode>(stop);
          s.StopTime = 6e-5L;  // the driver stops within the run
          s.Trapezoidal = stop != 1;
          s.Points = 20000;
          ExpectSameRun(*state, s,
                        circuit + " waveform " + std::to_string(w) + (feedback ? " feedback" : "") +
                            " stop " + std::to_string(stop));
        }
      }
    }
  }
  // Runs that overflow in a step, in the driver after it stops, in the display scaling; values
  // beyond the range of doubles, a scale that is not a double, another sequence of times for
  // the same sine: the same messages, values and partial states, each over a complete run.
  state->Elements = circuits[0].second;
  const auto variant = [&](const std::string& name, auto change) {
    SimulationSettings s;
    s.VinWaveform = Waveform::Sine;
    ExpectSameRun(*state, s, name + " (complete run before)");
    change(s);
    ExpectSameRun(*state, s, name);
  };
  variant("step", [](SimulationSettings& s) { s.InputVoltage = 1e4930L; });
  variant("driver", [](SimulationSettings& s) {
    s.StopTime = 5e-5L;
    s.AfterStop = StopMode::MultiplyVin;
    s.StopMultiplier = 1e4931L;
  });
  variant("scaling", [](SimulationSettings& s) { s.Scale[VCb] = 1e4928L; });
  variant("huge", [](SimulationSettings& s) { s.InputVoltage = 1e4000L; });
  variant("tiny", [](SimulationSettings& s) { s.InputVoltage = 1e-4000L; });
  variant("scale", [](SimulationSettings& s) {
    s.Scale[VCb] = 0.1L;
    s.Offset[ILa] = -0.0L;
  });
  variant("other times", [](SimulationSettings& s) { s.FinalTime = 0.99e-4L; });
  variant("offsets", [](SimulationSettings& s) {
    s.Offset = {5, -3, 0.25L, 7, -0.5L, 2};  // sample 0 is the offsets alone
  });
}
