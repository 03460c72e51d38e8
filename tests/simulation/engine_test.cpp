#include "simulation/engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "shell/float_error.h"
#include "simulation/circuits.h"
#include "simulation/run_host_fake.h"
#include "state/app_state.h"

using namespace kovaro;

namespace {

SimulationSettings Unscaled() {
  SimulationSettings s;
  s.Scale = {1, 1, 1, 1, 1, 1};
  return s;
}

}  // namespace

TEST(Engine, DefaultRunFillsTheStore) {
  AppState state;
  state.Elements = LosslessCoil();
  RecordingHost host;
  SimulationSettings s;
  s.Shown = {true, false, true, false, true, false};
  RunSimulation(state, s, host);

  const WaveformStore& st = state.Store;
  ASSERT_EQ(st.SampleCount, 10000);
  const Real h = 0.0001L / 9999;
  EXPECT_EQ(state.Engine.StepLength, h);
  Real t = 0;
  for (int k = 1; k < 10000; ++k) t += h;
  EXPECT_EQ(st.Time[9999], t);
  EXPECT_EQ(st.Time[0], 0);
  EXPECT_EQ(st.ViewRange.TimeFrom, 0);
  EXPECT_EQ(st.ViewRange.TimeTo, 0.0001L);
  Real top = 0;
  for (const StateMaximum& m : state.Engine.StateMaxima) top = std::max(top, std::fabs(m.Value));
  EXPECT_GT(top, 0);
  EXPECT_EQ(st.ViewRange.ValueTop, top);
  EXPECT_EQ(st.ViewRange.ValueBottom, -top);
  EXPECT_EQ(st.FullRange.ValueTop, top);
  EXPECT_EQ(st.FullRange.TimeTo, 0.0001L);
  EXPECT_EQ(st.ShownChannels, s.Shown);
  EXPECT_EQ(host.lines.size(), 6u);
  EXPECT_EQ(host.enabled, 1);
  EXPECT_EQ(host.shown, 1);
  EXPECT_TRUE(host.points.empty());

  // "Use maximum" fixes the value limits.
  s.UseMaximum = true;
  s.Maximum = 1234;
  RunSimulation(state, s, host);
  EXPECT_EQ(st.ViewRange.ValueTop, 1234);
  EXPECT_EQ(st.ViewRange.ValueBottom, -1234);
}

TEST(Engine, PointsPerPeriodTestAndCapacity) {
  AppState state;
  state.Elements = LosslessCoil();
  RecordingHost host;
  SimulationSettings s;
  RunSimulation(state, s, host);
  const PlotRange full = state.Store.FullRange;

  // 1000 points: 33.3 per period. Only the time limits change.
  s.Points = 1000;
  s.FinalTime = 0.0002L;
  host = RecordingHost();
  RunSimulation(state, s, host);
  EXPECT_EQ(host.lines, std::vector<std::string>{"Too few points."});
  EXPECT_EQ(state.Store.SampleCount, 10000);
  EXPECT_EQ(state.Store.ViewRange.TimeTo, 0.0002L);
  EXPECT_EQ(state.Store.FullRange.TimeTo, full.TimeTo);
  EXPECT_EQ(host.enabled + host.shown, 0);

  // Exactly 40 per period passes.
  s.Points = 40;
  s.FinalTime = 1;
  s.InputFrequency = 1;
  s.Trapezoidal = false;
  host = RecordingHost();
  RunSimulation(state, s, host);
  EXPECT_EQ(state.Store.SampleCount, 40);
  EXPECT_EQ(host.enabled, 1);

  // No input frequency, no test.
  s.Points = 3;
  s.InputFrequency = 0;
  RunSimulation(state, s, host);
  EXPECT_EQ(state.Store.SampleCount, 3);

  // 60000 points pass the test and are capped to the store's capacity.
  s = SimulationSettings();
  s.Points = 60000;
  host = RecordingHost();
  RunSimulation(state, s, host);
  EXPECT_EQ(state.Store.SampleCount, 50000);
  EXPECT_EQ(host.points, std::vector<int32_t>{50000});
  EXPECT_EQ(state.Engine.StepLength, 0.0001L / 49999);

  // A refused run with a huge count keeps the count within the capacity.
  s.Points = 2000000000;
  s.FinalTime = 1E30L;
  RunSimulation(state, s, host);
  EXPECT_EQ(state.Store.SampleCount, 50000);
}

TEST(Engine, EulerFirstStepFromRest) {
  AppState state;
  state.Elements = LosslessCoil();
  RecordingHost host;
  SimulationSettings s = Unscaled();
  s.Trapezoidal = false;
  RunSimulation(state, s, host);
  const ElementSet& e = state.Elements;
  const Real m = e.kab * std::sqrt(e.La * e.Lb);
  const Real d = e.La * e.Lb - m * m;
  const Real h = state.Engine.StepLength;
  const Sample& one = state.Store.Channels[1];
  EXPECT_EQ(one[ILa], h * (e.Lb / d) * 180);
  EXPECT_EQ(one[ILb], h * (-m / d) * 180);
  EXPECT_EQ(one[VCa], 0);
  EXPECT_EQ(one[VCb], 0);
  EXPECT_EQ(one[Vin], 180);  // the driver at 2h, no Rin
  EXPECT_EQ(one[VLa], 180);
}

TEST(Engine, MaximaKeepTheFirstLargestMagnitudeWithItsSign) {
  // Unit elements, Euler, h = 1: ILa of sample 2 adds only the drive of t = 2, which the
  // short circuit after Ts = 1.5 makes 0, so samples 1 and 2 tie; sample 3 falls back to 0.
  AppState state;
  state.Elements = ElementSet{1, 1, 1, 1, 0, 0, 0, 0, 0};
  RecordingHost host;
  SimulationSettings s = Unscaled();
  s.Trapezoidal = false;
  s.InputFrequency = 0;
  s.FinalTime = 3;
  s.Points = 4;
  s.StopTime = 1.5L;
  s.TurnOffDelay = 0;
  s.AfterStop = StopMode::ShortCircuit;
  RunSimulation(state, s, host);
  const WaveformStore& st = state.Store;
  ASSERT_EQ(st.Channels[1][ILa], st.Channels[2][ILa]);
  EXPECT_EQ(state.Engine.StateMaxima[StILa].Value, st.Channels[1][ILa]);
  EXPECT_EQ(state.Engine.StateMaxima[StILa].Time, 1);

  // Over a long run each maximum is the first sample of largest magnitude, sign kept.
  state.Elements = LosslessCoil();
  s = Unscaled();
  s.VinWaveform = Waveform::Sine;
  s.InputFrequency = 294273.2L;
  RunSimulation(state, s, host);
  bool negative = false;
  for (int i = 0; i < 4; ++i) {
    int best = 0;
    for (int k = 1; k < st.SampleCount; ++k) {
      if (std::fabs(st.Channels[k][i + 1]) > std::fabs(st.Channels[best][i + 1])) best = k;
    }
    EXPECT_EQ(state.Engine.StateMaxima[i].Value, st.Channels[best][i + 1]) << i;
    EXPECT_EQ(state.Engine.StateMaxima[i].Time, st.Time[best]) << i;
    negative = negative || state.Engine.StateMaxima[i].Value < 0;
  }
  EXPECT_TRUE(negative);
}

TEST(Engine, RemovedLoadIgnoresRbAndRunsRepeatExactly) {
  auto run = [](Real rb, bool no_load, bool trapezoidal) {
    auto state = std::make_unique<AppState>();
    state->Elements = LosslessCoil();
    state->Elements.Rb = rb;
    state->Elements.RLa = 0.05L;
    state->Elements.RLb = 40;
    state->Elements.Rin = 0.3L;
    SimulationSettings s;
    s.RemoveLoad = no_load;
    s.Trapezoidal = trapezoidal;
    RecordingHost host;
    RunSimulation(*state, s, host);
    return std::make_pair(std::move(state), host.lines);
  };
  for (bool trapezoidal : {true, false}) {
    auto [a, a_lines] = run(1000, true, trapezoidal);
    auto [b, b_lines] = run(0, true, trapezoidal);
    auto [c, c_lines] = run(1000, true, trapezoidal);
    auto [d, d_lines] = run(1000, false, trapezoidal);
    EXPECT_EQ(a->Store.Channels, b->Store.Channels);
    EXPECT_EQ(a->Store.Channels, c->Store.Channels);
    EXPECT_EQ(a->Store.Time, c->Store.Time);
    EXPECT_EQ(a_lines, c_lines);
    EXPECT_NE(a->Store.Channels[9999], d->Store.Channels[9999]);
  }
}

TEST(Engine, InvertInPlace) {
  RecordingHost log;
  Matrix4 a{{{2, 1, 0, 0}, {1, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 1, 0.5L}}};
  const Matrix4 original = a;
  InvertInPlace(4, a, log);
  EXPECT_TRUE(log.lines.empty());
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      Real sum = 0;
      for (int k = 0; k < 4; ++k) sum += original[i][k] * a[k][j];
      EXPECT_NEAR(sum, i == j ? 1 : 0, 1e-18L) << i << j;
    }
  }
  // The second pivot vanishes after the first elimination: the line names row 2 and the
  // first row stays transformed.
  Matrix4 singular{{{1, 2, 0, 0}, {2, 4, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
  InvertInPlace(4, singular, log);
  EXPECT_EQ(log.lines, std::vector<std::string>{"Something wrong (line 2). The L matrix can't be inverted."});
  EXPECT_EQ(singular[0][0], 1);
  EXPECT_EQ(singular[0][1], -2);
  EXPECT_EQ(singular[1][1], 0);
}

TEST(Engine, ArithmeticFaultsStopTheRunWhereTheyHappen) {
  auto state = std::make_unique<AppState>();
  RecordingHost host;
  SimulationSettings s;

  state->Elements = LosslessCoil();
  s.FinalTime = 0;  // the points test divides by zero
  EXPECT_EQ(FaultOf(*state, s, host), "Floating point division by zero");
  EXPECT_EQ(state->Store.ViewRange.TimeTo, 0);
  EXPECT_EQ(state->Store.SampleCount, 0);

  s = SimulationSettings();
  s.InputFrequency = 0;
  s.Points = 1;  // h divides by zero
  EXPECT_EQ(FaultOf(*state, s, host), "Floating point division by zero");
  EXPECT_EQ(state->Store.SampleCount, 1);

  s = SimulationSettings();
  const std::pair<void (*)(ElementSet&), const char*> cases[] = {
      {[](ElementSet& e) { e.La = 4, e.Lb = 1, e.kab = 1; }, "Floating point division by zero"},
      {[](ElementSet& e) { e.Ca = 0; }, "Floating point division by zero"},
      {[](ElementSet& e) { e.Cb = 0; }, "Floating point division by zero"},
      {[](ElementSet& e) { e.La = -e.La; }, "Invalid floating point operation"},
      {[](ElementSet& e) { e.La = 1E3000L, e.Lb = 1E3000L; }, "Floating point overflow"},
  };
  for (const auto& [change, message] : cases) {
    state->Elements = LosslessCoil();
    change(state->Elements);
    EXPECT_EQ(FaultOf(*state, s, host), message);
  }
  state->Elements = LosslessCoil();
  state->Elements.Rb = 0;
  EXPECT_EQ(FaultOf(*state, s, host), "");  // Rb is out of the circuit
  s.RemoveLoad = false;
  EXPECT_EQ(FaultOf(*state, s, host), "Floating point division by zero");
  // The fault came before the value limits were cleared: they are the last run's.
  EXPECT_EQ(state->Store.ViewRange.ValueTop, state->Store.FullRange.ValueTop);
}

TEST(Engine, OverflowDuringIntegrationKeepsTheSamplesBefore) {
  auto state = std::make_unique<AppState>();
  state->Elements = LosslessCoil();
  RecordingHost host;
  SimulationSettings s;
  s.InputVoltage = 1E4000L;
  s.OpenResistance = 1E4000L;
  s.AfterStop = StopMode::OpenDriver;
  s.TurnOffDelay = 0;
  const Real h = 0.0001L / 9999;
  s.StopTime = 10.5L * h;  // the open driver's voltage overflows from the step of sample 10 on
  state->Store.Channels[10].fill(12345);
  state->Store.Time[10] = 12345;
  EXPECT_EQ(FaultOf(*state, s, host), "Floating point overflow");
  EXPECT_EQ(state->Store.Channels[10][VCa], 12345);
  EXPECT_EQ(state->Store.Time[10], 12345);
  Real t = 0;
  for (int k = 1; k <= 9; ++k) t += h;
  EXPECT_EQ(state->Store.Time[9], t);
  EXPECT_NE(state->Store.Channels[9][ILa], 0);
  EXPECT_EQ(state->Store.Channels[9][Vin], 1E4000L);  // not scaled
  EXPECT_EQ(state->Store.ViewRange.ValueBottom, 1E12L);
  EXPECT_EQ(state->Store.ViewRange.ValueTop, -1E12L);
  EXPECT_TRUE(host.lines.empty());
  EXPECT_EQ(host.enabled + host.shown, 0);

  // An overflow while scaling leaves the samples before it scaled and those after it not.
  s = SimulationSettings();
  s.Scale = {2, 1, 1, 1, 1, 1};
  RunSimulation(*state, s, host);
  const std::vector<Sample> whole(state->Store.Channels.begin(), state->Store.Channels.begin() + 10000);
  s.Scale[ILa] = 1E4932L;  // overflows once |ILa| exceeds 1.19 A
  EXPECT_EQ(FaultOf(*state, s, host), "Floating point overflow");
  const std::vector<Sample>& part = state->Store.Channels;
  EXPECT_EQ(part[1][Vin], whole[1][Vin]);
  EXPECT_EQ(part[1][ILa], whole[1][ILa] * 1E4932L);
  EXPECT_EQ(part[9999][Vin], whole[9999][Vin] / 2);
  EXPECT_EQ(part[9999][ILa], whole[9999][ILa]);
}

// The order of the two rules: halving the step divides the error at a fixed time by about 4
// for the trapezoidal rule and by about 2 for forward Euler. The drive is a step (a square
// wave far slower than the run), since a run takes the driver's values one step ahead of the
// sample times, which adds an error of first order to a drive that changes along the run.
TEST(Engine, TrapezoidalRuleIsSecondOrderAndEulerFirst) {
  auto state = std::make_unique<AppState>();
  state->Elements = LosslessCoil();
  state->Elements.RLb = 2000;  // damped, so that Euler's growth stays small over the run
  SimulationSettings s;
  s.VinWaveform = Waveform::SquaredSine;
  s.InputFrequency = 1;
  s.FinalTime = 2e-5L;
  s.Scale = {1, 1, 1, 1, 1, 1};
  for (bool trapezoidal : {true, false}) {
    s.Trapezoidal = trapezoidal;
    Real at_end[3];
    for (int32_t halvings = 0; halvings < 3; ++halvings) {
      s.Points = 4000 * (1 << halvings) + 1;  // h, h/2, h/4 over the same time
      RecordingHost host;
      RunSimulation(*state, s, host);
      at_end[halvings] = state->Store.Channels[s.Points - 1][VCb];
    }
    const Real ratio = (at_end[0] - at_end[1]) / (at_end[1] - at_end[2]);
    EXPECT_NEAR(ratio, trapezoidal ? 4 : 2, trapezoidal ? 0.4L : 0.2L)
        << (trapezoidal ? "trapezoidal" : "Euler");
  }
}

// A term added to an entry that the steppers leave out (a leakage across Ca, the primary
// driving Cb) is refused where the system is built, naming the entry; every real circuit passes.
TEST(Engine, EquationsTheSteppersWouldDropAreRefusedWhenBuilt) {
  const CircuitSystem c = BuildCircuit(LosslessCoil(), false);
  const auto message = [&](int32_t i, int32_t j, bool in_b) {
    CircuitSystem changed = c;
    (in_b ? changed.B[i] : changed.A[i][j]) = -1E3L;
    try {
      CheckZeroEntries(changed);
    } catch (const std::logic_error& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(message(0, 0, false).rfind("A[0][0] of the circuit's equations is not zero", 0), 0u);
  EXPECT_EQ(message(2, 1, false).rfind("A[2][1] ", 0), 0u);
  EXPECT_EQ(message(2, 0, true).rfind("B[2] ", 0), 0u);
  EXPECT_EQ(message(1, 0, false), "accepted");  // a coupling the steppers do use
  EXPECT_EQ(message(3, 0, true), "accepted");
}
