// Kovaro's integration against an independent circuit simulator: ngspice runs the same
// circuit from a netlist, and the largest |VCb| and |ILa|, their times and VCb along the run
// must agree.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "design/lossless.h"
#include "design/lossy.h"
#include "design/tesla.h"
#include "drive/drive.h"
#include "frequency/frequency_plot.h"
#include "simulation/cross_check_circuits.h"
#include "simulation/run_host_fake.h"
#include "state/app_state.h"

using namespace kovaro;

namespace {

// Keeps what a design sets in the main window: the input frequency and the waveform.
class DesignCapture : public DesignHost {
 public:
  void LogLine(const std::string&) override {}
  void SetElementField(ElementField, Real) override {}
  void SetDesignField(DesignField, Real) override {}
  void SetInputFrequency(Real f) override { fin = f; }
  void SetVinWaveform(Waveform w) override { waveform = w; }
  void SetSimulateEnabled(bool) override {}
  void TickRemoveLoad() override {}
  void HideDesignWindow() override {}
  void SetDesignSecondary(Real, Real) override {}
  Real fin = 0;
  Waveform waveform = Waveform::SquaredSine;
};

struct Trace {
  std::vector<Real> t;
  std::vector<Real> vcb;
  std::vector<Real> ila;
};

Real At(const Trace& tr, const std::vector<Real>& v, Real t) {
  const auto it = std::lower_bound(tr.t.begin(), tr.t.end(), t);
  if (it == tr.t.begin()) return v.front();
  if (it == tr.t.end()) return v.back();
  const size_t i = static_cast<size_t>(it - tr.t.begin());
  const Real f = (t - tr.t[i - 1]) / (tr.t[i] - tr.t[i - 1]);
  return v[i - 1] + f * (v[i] - v[i - 1]);
}

// The largest magnitude, and the time at which it is first approached within 0.01 %: in a
// coil without losses the same peak returns after every transfer cycle, and which of those
// is larger by a millionth is not a property of the circuit.
std::pair<Real, Real> Peak(const Trace& tr, const std::vector<Real>& v) {
  Real largest = 0;
  for (Real x : v) largest = std::max(largest, std::fabs(x));
  size_t first = 0;
  while (std::fabs(v[first]) < largest * (1 - 1E-4L)) ++first;
  return {largest, tr.t[first]};
}

// The exported netlist, with a control block that runs it and writes `vectors` of `plot`.
void RunNgspice(const ElementSet& e, const SimulationSettings& s, const FrequencyRange& range,
                const char* plot, const char* vectors) {
  std::string netlist = SpiceNetlist("kovaro cross-check", e, s, range);
  netlist.resize(netlist.size() - std::string(".end\n").size());
  netlist += std::string(".control\nrun\nsetplot ") + plot + "\nwrdata out.txt " + vectors +
             "\nquit 0\n.endc\n.end\n";
  std::ofstream("circuit.cir") << netlist;
  ASSERT_EQ(std::system("ngspice -b circuit.cir > ngspice.log 2>&1"), 0);
}

Trace RunNgspiceTran(const ElementSet& e, const SimulationSettings& s) {
  RunNgspice(e, s, {1000, 1e6L, 10}, "tran1", "v(b) la#branch");
  Trace tr;
  std::ifstream out("out.txt");
  Real t1 = 0, vcb = 0, t2 = 0, ila = 0;
  while (out >> t1 >> vcb >> t2 >> ila) {
    tr.t.push_back(t1);
    tr.vcb.push_back(vcb);
    tr.ila.push_back(ila);
  }
  return tr;
}

Trace RunKovaro(AppState& state, const SimulationSettings& s) {
  RecordingHost host;
  RunSimulation(state, s, host);
  Trace tr;
  for (int32_t k = 0; k < state.Store.SampleCount; ++k) {
    tr.t.push_back(state.Store.Time[k]);
    tr.vcb.push_back(state.Store.Channels[k][VCb]);
    tr.ila.push_back(state.Store.Channels[k][ILa]);
  }
  return tr;
}

// The wrapped difference of two phases in degrees.
Real PhaseDifference(Complex a, Complex b) {
  Real d = std::fabs(PhaseDegrees(a) - PhaseDegrees(b));
  return std::fmin(d, 360 - d);
}

// ngspice's .ac of the exported netlist over 200 logarithmic frequencies around the modes,
// against the frequency response: VCb / Vdrive and Zin = Vdrive / ILa.
void CompareResponse(const char* name, const ElementSet& e, const SimulationSettings& s) {
  const CircuitSystem circuit = BuildCircuit(e, s.RemoveLoad);
  FrequencyRange range = *RangeAroundModes(NaturalModes(circuit));
  range.points = 200;
  RunNgspice(e, s, range, "ac1", "v(b) la#branch");
  std::ifstream out("out.txt");
  Real f = 0, vr = 0, vi = 0, f2 = 0, ir = 0, ii = 0, magnitude = 0, phase = 0;
  int32_t points = 0;
  while (out >> f >> vr >> vi >> f2 >> ir >> ii) {
    const Response r = FrequencyResponse(circuit, f);
    const Complex gain(vr, vi);
    const Complex impedance = Complex(1) / Complex(ir, ii);
    magnitude = std::max({magnitude, std::fabs(std::abs(r.gain) / std::abs(gain) - 1),
                          std::fabs(std::abs(r.impedance) / std::abs(impedance) - 1)});
    phase = std::max({phase, PhaseDifference(r.gain, gain), PhaseDifference(r.impedance, impedance)});
    ++points;
  }
  std::printf("%s: .ac at %d frequencies, largest deviation %.2Lg %% in magnitude, %.2Lg degrees in phase\n",
              name, points, 100 * magnitude, phase);
  EXPECT_GE(points, 200) << name;
  EXPECT_LE(magnitude, 0.001L) << name;
  EXPECT_LE(phase, 0.1L) << name;
}

// The drive window's figures of the run in `state` against the same figures of ngspice's
// samples of the exported netlist: the largest |VCa|, the rms of ILa over the run, the largest
// |dVCa/dt|, and when |ILa| first reaches half its largest value.
void CompareDriveFigures(const char* name, const AppState& state, const SimulationSettings& s) {
  const ElementSet& e = state.Elements;
  const RunChannels run = ChannelsOfRun(state);
  const RunFigures kovaro = FiguresOfRun(run, state.Engine.StateMaxima);
  const Real limit = kovaro.ila / 2;
  const auto reached = FirstReaching(run, limit);
  ASSERT_TRUE(reached) << name;
  const std::string vca = e.Rin != 0 ? "v(x,a)" : "v(in,a)";
  RunNgspice(e, s, {1000, 1e6L, 10}, "tran1", (vca + " la#branch").c_str());
  std::vector<Real> t, v, i;
  std::ifstream out("out.txt");
  Real t1 = 0, x = 0, t2 = 0, y = 0;
  while (out >> t1 >> x >> t2 >> y) {
    t.push_back(t1);
    v.push_back(x);
    i.push_back(y);
  }
  ASSERT_GT(t.size(), 1000u) << name;
  Real vmax = 0, dvdt = 0, squares = 0, first = -1;
  for (size_t k = 0; k < t.size(); ++k) {
    vmax = std::max(vmax, std::fabs(v[k]));
    if (first < 0 && std::fabs(i[k]) >= limit)
      first = k == 0 ? t[0]
                     : t[k - 1] + (limit - std::fabs(i[k - 1])) / (std::fabs(i[k]) - std::fabs(i[k - 1])) *
                                      (t[k] - t[k - 1]);
    if (k + 1 == t.size() || t[k + 1] <= t[k]) continue;
    dvdt = std::max(dvdt, std::fabs((v[k + 1] - v[k]) / (t[k + 1] - t[k])));
    squares += (i[k] * i[k] + i[k + 1] * i[k + 1]) / 2 * (t[k + 1] - t[k]);
  }
  const Real rms = std::sqrt(squares / (t.back() - t.front()));
  std::printf(
      "%s: max |VCa| %.6Lg vs %.6Lg V, rms ILa %.6Lg vs %.6Lg A, max |dVCa/dt| %.6Lg vs %.6Lg V/us, |ILa| "
      "reaches %.4Lg A at %.5Lg vs %.5Lg us\n",
      name, kovaro.vca, vmax, kovaro.ila_rms, rms, kovaro.dvdt / 1e6L, dvdt / 1e6L, limit,
      reached->time * 1e6L, first * 1e6L);
  EXPECT_NEAR(kovaro.vca / vmax, 1, 0.005L) << name;
  EXPECT_NEAR(kovaro.ila_rms / rms, 1, 0.005L) << name;
  EXPECT_NEAR(kovaro.dvdt / dvdt, 1, 0.005L) << name;
  // The run's step to sample k takes the driver at k and k + 1 steps (as documented), so the
  // run leads the circuit by one step; beyond that they agree within one sample.
  const Real h = StepLength(s.FinalTime, s.Points);
  EXPECT_NEAR(reached->time + h, first, h) << name;
}

// A 50000-point trapezoidal run, unscaled, and the same from the exported netlist.
void Compare(const char* name, AppState& state, SimulationSettings s) {
  ScopedWorkDir dir;
  s.Points = 50000;
  s.Trapezoidal = true;
  s.Scale = {1, 1, 1, 1, 1, 1};
  s.Offset = {0, 0, 0, 0, 0, 0};
  const Trace kovaro = RunKovaro(state, s);
  const Trace spice = RunNgspiceTran(state.Elements, s);
  ASSERT_GT(spice.t.size(), 1000u) << name;
  const Real period = 1 / s.InputFrequency;
  const auto [k_vcb, k_vcb_t] = Peak(kovaro, kovaro.vcb);
  const auto [s_vcb, s_vcb_t] = Peak(spice, spice.vcb);
  const auto [k_ila, k_ila_t] = Peak(kovaro, kovaro.ila);
  const auto [s_ila, s_ila_t] = Peak(spice, spice.ila);
  Real worst = 0;
  for (int j = 1; j <= 20; ++j) {
    const Real t = s.FinalTime * j / 20;
    worst = std::max(worst, std::fabs(At(kovaro, kovaro.vcb, t) - At(spice, spice.vcb, t)));
  }
  std::printf(
      "%s: max |VCb| %.6Lg V vs %.6Lg V (%.4Lf %%), at %.4Lg us vs %.4Lg us; max |ILa| %.6Lg A vs %.6Lg A "
      "(%.4Lf %%), at %.4Lg us vs %.4Lg us; VCb at 20 times within %.4Lf %% of max |VCb|\n",
      name, k_vcb, s_vcb, 100 * std::fabs(k_vcb / s_vcb - 1), k_vcb_t * 1E6L, s_vcb_t * 1E6L, k_ila, s_ila,
      100 * std::fabs(k_ila / s_ila - 1), k_ila_t * 1E6L, s_ila_t * 1E6L, 100 * worst / s_vcb);
  EXPECT_NEAR(k_vcb / s_vcb, 1, 0.001) << name;
  EXPECT_NEAR(k_ila / s_ila, 1, 0.001) << name;
  EXPECT_NEAR(k_vcb_t, s_vcb_t, period / 100) << name;
  EXPECT_NEAR(k_ila_t, s_ila_t, period / 100) << name;
  EXPECT_LE(worst, 0.005L * s_vcb) << name;
  CompareDriveFigures(name, state, s);
  CompareResponse(name, state.Elements, s);
}

}  // namespace

TEST(CrossCheck, LosslessDesignWithSineDrive) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  DesignCapture design;
  DesignLossless(LosslessInputs{}, *state, design);
  SimulationSettings s;
  s.VinWaveform = design.waveform;
  s.InputFrequency = design.fin;
  Compare("lossless, sine", *state, s);
}

TEST(CrossCheck, LossyDesignWithLossesLoadAndSquareDrive) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  DesignCapture design;
  DesignLossy(LossyInputs{}, *state, design);
  state->Elements.RLa = 0.05L;
  state->Elements.RLb = 40;
  state->Elements.Rin = 0.3L;
  SimulationSettings s;
  s.InputFrequency = design.fin;
  s.RemoveLoad = false;
  s.VinWaveform = Waveform::SquaredSine;
  Compare("lossy, losses and load, squared sine", *state, s);
}

TEST(CrossCheck, RegularTeslaCoilWithSquareDrive) {
  auto state = std::make_unique<AppState>();
  DesignCapture design;
  DesignRegularCoil(TeslaInputs{}, *state, design);
  SimulationSettings s;
  s.InputFrequency = design.fin;
  s.VinWaveform = Waveform::SquaredSine;
  Compare("regular Tesla coil, squared sine", *state, s);
}

// "Export SPICE netlist" of each circuit, as written, runs in ngspice's batch mode and prints
// both analyses.
TEST(CrossCheck, ExportedNetlistsRunAsWritten) {
  ScopedWorkDir dir;
  for (const auto& [name, e] : CrossCheckCircuits()) {
    SimulationSettings s;
    s.RemoveLoad = name != "lossy";
    RecordingHost log;
    ExportNetlist(name, e, s, *RangeAroundModes(NaturalModes(BuildCircuit(e, s.RemoveLoad))), log);
    ASSERT_EQ(log.lines, std::vector<std::string>{"Netlist saved as " + name + ".cir"});
    const std::string command = "ngspice -b " + name + ".cir > " + name + ".log 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << name << "\n" << ReadFile(name + ".log").substr(0, 2000);
    const std::string out = ReadFile(name + ".log");
    EXPECT_NE(out.find("Transient Analysis"), std::string::npos) << name;
    EXPECT_NE(out.find("AC Analysis"), std::string::npos) << name;
  }
}
