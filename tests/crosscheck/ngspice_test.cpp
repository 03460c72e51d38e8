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
#include "simulation/run_host_fake.h"

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

std::string Num(Real x) {
  char text[64];
  std::snprintf(text, sizeof text, "%.18Lg", x);
  return text;
}

// The same circuit as a netlist; zero resistances are left out.
std::string Netlist(const ElementSet& e, const SimulationSettings& s, Real h) {
  std::ostringstream n;
  n << "* kovaro cross-check\n";
  const Real period = 1 / s.NEfin;
  if (s.RGvin == Waveform::Sine) {
    n << "V1 in 0 SIN(0 " << Num(s.NEvin) << " " << Num(s.NEfin) << " 0 0 0)\n";
  } else {
    const Real edge = h / 10;
    n << "V1 in 0 PULSE(" << Num(s.NEvin) << " " << Num(-s.NEvin) << " " << Num(period / 2 - edge / 2) << " "
      << Num(edge) << " " << Num(edge) << " " << Num(period / 2 - edge) << " " << Num(period) << ")\n";
  }
  const char* node = "in";
  const auto series = [&](const char* name, Real r, const char* next) {
    if (r != 0) {
      n << name << " " << node << " " << next << " " << Num(r) << "\n";
      node = next;
    }
  };
  series("Rin", e.Rin, "x");
  n << "Ca " << node << " a " << Num(e.Ca) << "\n";
  node = "a";
  series("RLa", e.RLa, "al");
  n << "La " << node << " 0 " << Num(e.La) << "\n";
  n << "Cb b 0 " << Num(e.Cb) << "\n";
  if (!s.CBnoload) n << "Rb b 0 " << Num(e.Rb) << "\n";
  node = "b";
  series("RLb", e.RLb, "bl");
  n << "Lb " << node << " 0 " << Num(e.Lb) << "\n";
  n << "K1 La Lb " << Num(e.kab) << "\n";
  n << ".options reltol=1e-6 abstol=1e-12 vntol=1e-9 chgtol=1e-18\n";
  n << ".tran " << Num(h) << " " << Num(s.NEtmax) << " 0 " << Num(h) << " uic\n";
  n << ".control\nrun\nwrdata out.txt v(b) la#branch\nquit 0\n.endc\n.end\n";
  return n.str();
}

Trace RunNgspice(const ElementSet& e, const SimulationSettings& s, Real h) {
  std::ofstream("circuit.cir") << Netlist(e, s, h);
  EXPECT_EQ(std::system("ngspice -b circuit.cir > ngspice.log 2>&1"), 0);
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

Trace RunKovaro(AppState& state, SimulationSettings s) {
  s.NEpontos = 50000;
  s.CBtrapezoidal = true;
  s.Scale = {1, 1, 1, 1, 1, 1};
  s.Offset = {0, 0, 0, 0, 0, 0};
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

void Compare(const char* name, AppState& state, const SimulationSettings& s) {
  ScopedWorkDir dir;
  const Trace kovaro = RunKovaro(state, s);
  const Trace spice = RunNgspice(state.Elements, s, state.Engine.StepLength);
  ASSERT_GT(spice.t.size(), 1000u) << name;
  const Real period = 1 / s.NEfin;
  const auto [k_vcb, k_vcb_t] = Peak(kovaro, kovaro.vcb);
  const auto [s_vcb, s_vcb_t] = Peak(spice, spice.vcb);
  const auto [k_ila, k_ila_t] = Peak(kovaro, kovaro.ila);
  const auto [s_ila, s_ila_t] = Peak(spice, spice.ila);
  Real worst = 0;
  for (int j = 1; j <= 20; ++j) {
    const Real t = s.NEtmax * j / 20;
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
}

}  // namespace

TEST(CrossCheck, LosslessDesignWithSineDrive) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  DesignCapture design;
  BlosslessClick(LosslessInputs{}, *state, design);
  SimulationSettings s;
  s.RGvin = design.waveform;
  s.NEfin = design.fin;
  Compare("lossless, sine", *state, s);
}

TEST(CrossCheck, LossyDesignWithLossesLoadAndSquareDrive) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  DesignCapture design;
  BdesignClick(LossyInputs{}, *state, design);
  state->Elements.RLa = 0.05L;
  state->Elements.RLb = 40;
  state->Elements.Rin = 0.3L;
  SimulationSettings s;
  s.NEfin = design.fin;
  s.CBnoload = false;
  s.RGvin = Waveform::SquaredSine;
  Compare("lossy, losses and load, squared sine", *state, s);
}

TEST(CrossCheck, RegularTeslaCoilWithSquareDrive) {
  auto state = std::make_unique<AppState>();
  DesignCapture design;
  BapplyClick(TeslaInputs{}, *state, design);
  SimulationSettings s;
  s.NEfin = design.fin;
  s.RGvin = Waveform::SquaredSine;
  Compare("regular Tesla coil, squared sine", *state, s);
}
