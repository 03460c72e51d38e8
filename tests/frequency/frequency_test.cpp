#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>

#include "design/design_host_fake.h"
#include "design/lossless.h"
#include "design/tesla.h"
#include "frequency/frequency_plot.h"
#include "shell/messages.h"
#include "shell/numeric_text.h"
#include "simulation/circuits.h"
#include "simulation/run_host_fake.h"
#include "state/app_state.h"
#include "x87_only.h"

using namespace kovaro;

namespace {

// The numbers of the design's report line that starts with `label`.
std::vector<Real> Printed(const std::vector<std::string>& lines, const std::string& label) {
  for (const std::string& line : lines) {
    if (line.rfind(label, 0) != 0) continue;
    std::vector<Real> values;
    const std::regex number(R"([0-9]+\.[0-9]+)");
    for (auto it = std::sregex_iterator(line.begin(), line.end(), number); it != std::sregex_iterator(); ++it)
      values.push_back(std::stold(it->str()));
    return values;
  }
  return {};
}

std::vector<Mode> Oscillating(const ElementSet& e) {
  std::vector<Mode> modes = NaturalModes(BuildCircuit(e, true));
  EXPECT_EQ(modes.size(), 2u);
  return modes;
}

}  // namespace

TEST(NaturalModes, LosslessDesignsHaveTheirModesWhereTheDesignPutThem) {
  SKIP_UNLESS_X87();
  for (int32_t signal = 0; signal < 3; ++signal) {
    for (bool series_parallel : {false, true}) {
      auto state = std::make_unique<AppState>();
      RecordingDesignHost host;
      LosslessInputs in;
      in.input_signal = static_cast<InputSignal>(signal);
      in.series_parallel = series_parallel;
      DesignLossless(in, *state, host);
      // "Output frequencies: k f0, l f0, m f0 Hz"; case 2 drives at m f0, between nothing.
      const std::vector<Real> printed = Printed(host.lines, "Output frequencies:");
      ASSERT_EQ(printed.size(), 3u);
      const std::vector<Mode> modes = Oscillating(state->Elements);
      const Real upper = signal == 2 ? printed[1] : printed[2];
      EXPECT_NEAR(modes[0].f / printed[0], 1, 1e-9L) << signal << series_parallel;
      EXPECT_NEAR(modes[1].f / upper, 1, 1e-9L) << signal << series_parallel;
      for (const Mode& m : modes) EXPECT_GT(m.Q, 1e12L);
    }
  }
  // The regular coil: its two printed resonances, in kHz to four decimals.
  auto state = std::make_unique<AppState>();
  RecordingDesignHost host;
  DesignRegularCoil(TeslaInputs{}, *state, host);
  const std::vector<Real> resonances = Printed(host.lines, "Resonances:");
  const std::vector<Mode> modes = Oscillating(state->Elements);
  EXPECT_NEAR(modes[0].f / 1000, resonances[0], 0.00005L);
  EXPECT_NEAR(modes[1].f / 1000, resonances[1], 0.00005L);
}

TEST(FrequencyPlot, ReportsModesAndTheLargestGain) {
  ElementSet lossy = LosslessCoil();
  lossy.RLb = 40;
  lossy.Rin = 0.3L;
  RecordingDesignHost log;
  const FrequencyPlot plot = PlotFrequencyResponse(lossy, false, {250000, 350000, 201}, log);
  ASSERT_EQ(log.lines.size(), 5u);
  EXPECT_EQ(log.lines[0], "");
  EXPECT_EQ(log.lines[1], "Natural modes:");
  EXPECT_TRUE(std::regex_match(log.lines[2],
                               std::regex(R"(Mode 1: f= +2[0-9]{5}\.[0-9]{5} Hz, Q= +[0-9.]+E\+00[0-9]{2})")))
      << log.lines[2];
  EXPECT_EQ(log.lines[3].substr(0, 10), "Mode 2: f=");
  // The largest gain is the largest of the plotted points, and lies at a mode.
  Real largest = 0;
  for (const Response& r : plot.response) largest = std::max(largest, std::abs(r.gain));
  EXPECT_EQ(log.lines[4].substr(0, 28), "Largest gain=" + FormatReal(largest, 15, 5));
  EXPECT_EQ(plot.f.front(), 250000);
  EXPECT_EQ(plot.f.back(), 350000);

  // Without damping the line says so; a real eigenvalue is a time constant.
  RecordingDesignHost undamped;
  PlotFrequencyResponse(LosslessCoil(), true, {250000, 350000, 2}, undamped);
  EXPECT_TRUE(
      std::regex_match(undamped.lines[2], std::regex(R"(Mode 1: f= +2[0-9]{5}\.[0-9]{5} Hz, no damping)")))
      << undamped.lines[2];
  ElementSet overdamped = LosslessCoil();
  overdamped.Rin = 1e6L;
  overdamped.RLb = 1e9L;
  RecordingDesignHost real;
  PlotFrequencyResponse(overdamped, true, {1, 1e6L, 10}, real);
  EXPECT_EQ(real.lines[2].substr(0, 22), "Mode 1: time constant=");
  EXPECT_EQ(real.lines.back().substr(0, 13), "Largest gain=");

  // Refused ranges name the field; nothing is reported.
  auto refusal = [](FrequencyRange range) {
    RecordingDesignHost none;
    try {
      PlotFrequencyResponse(LosslessCoil(), true, range, none);
    } catch (const InputError& e) {
      EXPECT_TRUE(none.lines.empty());
      return std::string(e.what());
    }
    return std::string();
  };
  EXPECT_EQ(refusal({0, 1000, 10}), "From (Hz) must be greater than 0");
  EXPECT_EQ(refusal({1000, 1000, 10}), "To (Hz) must be greater than From (Hz)");
  EXPECT_EQ(refusal({1000, 2000, 1}), "Points must be between 2 and 100000");
  const auto range = RangeAroundModes(Oscillating(LosslessCoil()));
  ASSERT_TRUE(range);
  EXPECT_EQ(GeneralText(range->from), "186000");
  EXPECT_EQ(GeneralText(range->to), "465000");
}

TEST(Netlist, SourcesAndWhatANetlistCannotSay) {
  const ElementSet e = LosslessCoil();
  SimulationSettings s;
  s.InputFrequency = 250000;
  s.InputVoltage = 100;
  s.Points = 1001;  // a step of 1E-7
  auto source = [&](Waveform w, bool offset) {
    s.VinWaveform = w;
    s.AddOffset = offset;
    const std::string n = SpiceNetlist("t", e, s, {1000, 100000, 201});
    const auto at = n.find("V1 ");
    return n.substr(at, n.find('\n', at) - at);
  };
  EXPECT_EQ(source(Waveform::Sine, false), "V1 in 0 DC 0 AC 1 SIN(0 100 250000 0 0 0)");
  EXPECT_EQ(source(Waveform::Cosine, true), "V1 in 0 DC 0 AC 1 SIN(100 100 250000 0 0 90)");
  EXPECT_EQ(source(Waveform::SquaredSine, false),
            "V1 in 0 DC 0 AC 1 PULSE(100 -100 1.995E-6 1E-8 1E-8 1.99E-6 4E-6)");
  EXPECT_EQ(source(Waveform::SquaredCosine, true),
            "V1 in 0 DC 0 AC 1 PULSE(200 0 9.95E-7 1E-8 1E-8 1.99E-6 4E-6)");
  s.Feedback = true;
  s.StopTime = 5e-5L;
  s.RemoveLoad = false;
  const std::string n = SpiceNetlist("t", e, s, {1000, 100000, 201});
  EXPECT_NE(n.find("* The run switches the driver with the primary current after t=1E-6 s.\n"),
            std::string::npos);
  EXPECT_NE(n.find("* The run stops the driver at t=5E-5 s (open with free-wheeling diodes).\n"),
            std::string::npos);
  EXPECT_NE(n.find("Rb b 0 500000\n"), std::string::npos);
  EXPECT_NE(n.find("\n.tran 1E-7 0.0001 0 1E-7 uic\n.ac dec 100 1000 100000\n"), std::string::npos) << n;
  EXPECT_NE(n.find("\n.print tran v(in) v(in,a) i(La) v(b) i(Lb) v(a)\n"), std::string::npos);
}

// Every resistance in its place in the chain from the source to ground, the driver's output
// after Rin: the lines are the circuit, not a restatement of the code that writes them.
TEST(Netlist, ResistancesInTheirChains) {
  ElementSet e = LosslessCoil();
  e.Ca = 5e-9L;
  e.La = 5.5e-5L;
  e.Lb = 0.0282L;
  e.Cb = 1.04e-11L;
  e.kab = 0.2L;
  e.Rb = 1e6L;
  e.Rin = 0.3L;
  e.RLa = 0.05L;
  e.RLb = 40;
  SimulationSettings s;
  s.Points = 1001;
  s.RemoveLoad = false;
  const std::string n = SpiceNetlist("t", e, s, {1000, 100000, 201});
  const std::string elements =
      "Rin in x 0.3\n"
      "Ca x a 5E-9\n"
      "RLa a al 0.05\n"
      "La al 0 5.5E-5\n"
      "Cb b 0 1.04E-11\n"
      "Rb b 0 1000000\n"
      "RLb b bl 40\n"
      "Lb bl 0 0.0282\n"
      "K1 La Lb 0.2\n";
  EXPECT_NE(n.find(elements), std::string::npos) << n;
  EXPECT_NE(n.find(".save v(in) v(x) v(a) v(b) i(La) i(Lb)\n"), std::string::npos) << n;
  EXPECT_NE(n.find(".print tran v(x) v(x,a) i(La) v(b) i(Lb) v(a)\n"), std::string::npos) << n;
}

TEST(Netlist, RefusedWhereTheRunRefusesOrSpiceCannotRead) {
  ScopedWorkDir dir;
  const auto refusal = [](SimulationSettings s, FrequencyRange range = {1000, 100000, 201}) {
    RecordingDesignHost log;
    try {
      ExportNetlist("tn", LosslessCoil(), s, range, log);
    } catch (const KovaroError& e) {
      EXPECT_TRUE(log.lines.empty());
      EXPECT_FALSE(std::filesystem::exists("tn.cir"));
      return std::string(e.what());
    }
    return std::string();
  };
  SimulationSettings s;
  s.InputFrequency = -300000;  // a negative period
  EXPECT_EQ(refusal(s), "Too few points.");
  s.InputFrequency = 300000;
  s.FinalTime = -1e-4L;  // a negative step
  EXPECT_EQ(refusal(s), "Too few points.");
  s.FinalTime = 1e-4L;
  s.Points = 1;
  EXPECT_EQ(refusal(s), "Too few points.");
  s.Points = 10000;
  s.InputVoltage = 1e4000L;  // the run overflows
  EXPECT_EQ(refusal(s), "Floating point overflow");
  s.InputVoltage = 1e400L;  // the run copes, SPICE's doubles do not
  EXPECT_EQ(
      refusal(s),
      "Input voltage (V peak)=1E400 is beyond the range of numbers SPICE reads (about 1E-307 to 1E308)");
  s.InputVoltage = 180;
  // 1 to 1.000001 Hz in 1000 points is 1.6E9 points a decade, which ngspice never ends; 0.9 to
  // 1.1 times a frequency is about 11000.
  EXPECT_EQ(
      refusal(s, {1, 1.000001L, 1000}),
      "Points: a netlist's AC analysis takes at most 1000000 points a decade; widen From (Hz) to To (Hz) or "
      "take fewer points");
  EXPECT_EQ(refusal(s, {270000, 330000, 1000}), "");
}

TEST(FrequencyResponse, LogarithmicSpacingAndThePhasesOfItsEnds) {
  const std::vector<Real> f = LogFrequencies(1, 100, 3);
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[0], 1);
  EXPECT_NEAR(f[1], 10, 1e-15L);
  EXPECT_EQ(f[2], 100);
  // Far below the modes Ca alone sets Zin, far above La: -90 and +90 degrees.
  const CircuitSystem c = BuildCircuit(LosslessCoil(), true);
  EXPECT_NEAR(PhaseDegrees(FrequencyResponse(c, 10).impedance), -90, 0.01L);
  EXPECT_NEAR(PhaseDegrees(FrequencyResponse(c, 1e9L).impedance), 90, 0.01L);
}

// Without coupling the secondary rings alone, damped by RLb: Q = sqrt(Lb / Cb) / RLb =
// sqrt(0.0282 / 1.04E-11) / 40 = 1301.81087.
TEST(NaturalModes, TheQOfALossySecondaryAlone) {
  ElementSet e = LosslessCoil();
  e.kab = 0;
  e.RLb = 40;
  int32_t damped = 0;
  for (const Mode& m : NaturalModes(BuildCircuit(e, true))) {
    if (!m.oscillating || std::isinf(m.Q)) continue;
    ++damped;
    EXPECT_NEAR(m.Q, 1301.81087L, 0.00001L);
  }
  EXPECT_EQ(damped, 1);
}
