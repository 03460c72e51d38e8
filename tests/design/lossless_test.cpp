#include "design/lossless.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "design/design_host_fake.h"
#include "shell/file_error.h"
#include "shell/float_error.h"
#include "simulation/run_host_fake.h"
#include "state/app_state.h"

using namespace kovaro;

TEST(Lossless, DefaultDesignReportFileAndEffects) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  state->Elements.RLa = 0.25L;
  RecordingDesignHost host;
  DesignLossless(LosslessInputs{}, *state, host);
  const std::vector<std::string> expected{
      "",
      "Normalized transformerless circuit:",
      "vin 0",
      "Perfect energy transfer in  9.75 cycles with sinusoidal input:",
      "C1 (series)=    96.8230471325",
      "L1 (parallel)=     0.0000068801",
      "L2 (series)=   0.0006523157",
      "C2 (parallel)=   1.0000000000",
      "Final circuit:",
      "Ca=   5.0700000000 nF",
      "La=  58.4562648953 uH",
      "Cb=  10.4000000000 pF",
      "Lb=  28.2000000000 mH",
      "kab=   0.1021618888",
      "Value list saved as tb373941.val",
      "field Ca 5.070000E-0009",
      "field La 5.845626E-0005",
      "field Cb 1.040000E-0011",
      "field Lb 2.820000E-0002",
      "field kab 1.021618E-0001",
      "field Rb 5.000000E+0005",
      "fin 2.942732E+0005",
      "simulate 1",
      "hide",
      "Output frequencies: 279182.274741, 294273.208511, 309364.142281 Hz",
      "(1754153.966677, 1848973.100011, 1943792.233345 rad/s)",
      "Calculated voltage gain= 429.9818310115 ( 547.4698707615 for sq. wave input)",
      "Calculated bang energy (square wave input):    0.0504973747 J",
      "Calculated bang energy (sinusoidal input):     0.0311493195 J",
      "Calculated maximum current envelope (cos input)=  16.3439336211 A (sq. input=  20.8097426029 A",
      "Approximate ratio of energies in Cb and Ca:    3.9896455818",
      "Transformer effective turns ratio:  214.9909155057",
      "Approximate maximum off-state driver voltage:  458.3662361047 V"};
  EXPECT_EQ(host.effects, expected);
  EXPECT_EQ(state->DesignName, "tb373941");
  const ElementSet& e = state->Elements;
  EXPECT_EQ(e.Ca, 5.07E-9L);
  EXPECT_EQ(e.Rb, 500000);
  EXPECT_NEAR(e.kab, 0.1021619L, 1E-7L);
  EXPECT_EQ(e.RLa, 0.25L);  // losses only through Apply
  EXPECT_EQ(ReadFile(dir.path() / "tb373941.val"),
            "Ca  5.070000E-0009\r\nLa  5.845626E-0005\r\nLb  2.820000E-0002\r\nkab  1.021618E-0001\r\n"
            "Cb  1.040000E-0011\r\nFreq  2.942732E+0005\r\n");

  // The other prototype: its own lines, the same circuit.
  RecordingDesignHost p;
  LosslessInputs in;
  in.series_parallel = true;
  in.details = true;
  DesignLossless(in, *state, p);
  EXPECT_EQ(p.lines[3], "C1 (series)=     0.0105471325");
  EXPECT_EQ(p.lines[4], "L1 (series)=     0.0625000000");
  EXPECT_EQ(p.lines[5], "L2 (parallel)=   0.0006591958");
  for (size_t i = 7; i < expected.size(); ++i) {
    if (expected[i].rfind("field", 0) == 0 || expected[i].rfind("Final", 0) == 0) {
      EXPECT_TRUE(std::find(p.effects.begin(), p.effects.end(), expected[i]) != p.effects.end())
          << expected[i];
    }
  }
  EXPECT_TRUE(Contains(p.effects, "fin 2.942732E+0005"));
  EXPECT_EQ(p.lines.back(),
            "(1-kab^2)LaCa= 2.932800E-0013 LbCb= 2.932800E-0013 1/w0^2= 2.925087E-0013 "
            "1/(2*pi*sqrt(Lb*Cb))= 2.938860E+0005");
}

TEST(Lossless, InputSignalCases) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  LosslessInputs in;
  in.input_signal = InputSignal::CosinusoidBetween;
  RecordingDesignHost cosine;
  DesignLossless(in, *state, cosine);
  EXPECT_EQ(cosine.effects[2], "vin 1");
  EXPECT_EQ(cosine.effects[3], "Perfect energy transfer in 19.5 cycles with cosinusoidal input:");
  EXPECT_EQ(state->DesignName, "ta373941");

  in.input_signal = InputSignal::SinusoidAbove;
  RecordingDesignHost above;
  DesignLossless(in, *state, above);
  EXPECT_EQ(above.effects[2], "vin 0");
  EXPECT_EQ(above.effects[3], "Perfect energy transfer in  9.75 cycles with sinusoidal input:");
  EXPECT_TRUE(Contains(above.effects, "fin 3.093641E+0005"));
  EXPECT_EQ(state->DesignName, "tc373941");

  in.k = 36.5L;  // only the name rounds, halves to even
  in.l = 38.5L;
  in.m = 41.2L;
  RecordingDesignHost fractional;
  DesignLossless(in, *state, fractional);
  EXPECT_EQ(state->DesignName, "tc363841");
}

TEST(Lossless, FaultsKeepWhatWasDoneBefore) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  state->DesignName = "before";
  LosslessInputs in;
  in.l = in.m;  // l - m = 0 in the prototype
  RecordingDesignHost host;
  EXPECT_THROW(DesignLossless(in, *state, host), FloatError);
  EXPECT_EQ(host.effects, (std::vector<std::string>{"", "Normalized transformerless circuit:"}));
  EXPECT_EQ(state->Elements.Ca, 5.07E-9L);  // step 2 is done
  EXPECT_EQ(state->Elements.Rb, 500000);
  EXPECT_EQ(state->Elements.La, 0);
  EXPECT_EQ(state->DesignName, "before");

  // A negative Lb makes S negative: La is stored, kab's root fails.
  in = LosslessInputs{};
  in.Lb = -0.0282L;
  RecordingDesignHost negative;
  try {
    DesignLossless(in, *state, negative);
    ADD_FAILURE();
  } catch (const FloatError& e) {
    EXPECT_STREQ(e.what(), "Invalid floating point operation");
  }
  EXPECT_LT(state->Elements.La, 0);
  EXPECT_EQ(negative.effects.back(), "C2 (parallel)=   1.0000000000");

  // A value list the file system refuses: the report up to it and the element set stay;
  // fields, input frequency, button and window are not touched.
  std::filesystem::current_path("/sys");
  RecordingDesignHost refused;
  EXPECT_THROW(DesignLossless(LosslessInputs{}, *state, refused), FileError);
  std::filesystem::current_path(dir.path());
  EXPECT_EQ(refused.effects.back(), "kab=   0.1021618888");
  EXPECT_EQ(state->DesignName, "tb373941");
  EXPECT_NEAR(state->Elements.La, 58.4562648953E-6L, 1E-15L);
}

// Each input case's gain is what a run at the designed frequency reaches, and the energy and
// off-state lines follow from the printed gain and turns ratio.
TEST(Lossless, GainOfEveryInputCaseIsWhatTheRunReaches) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  for (int32_t signal = 0; signal < 3; ++signal) {
    LosslessInputs in;
    in.input_signal = static_cast<InputSignal>(signal);
    RecordingDesignHost host;
    DesignLossless(in, *state, host);
    auto number_after = [&host](const std::string& label) {
      for (const std::string& line : host.lines)
        if (line.rfind(label, 0) == 0) return std::stold(line.substr(label.size()));
      ADD_FAILURE() << label;
      return 0.0L;
    };
    const Real G = number_after("Calculated voltage gain=");
    const Real N = number_after("Transformer effective turns ratio: ");
    const Real Cb = state->Elements.Cb;
    EXPECT_NEAR(
        number_after("Calculated bang energy (sinusoidal input):  ") / (Cb * (180 * G) * (180 * G) / 2), 1,
        1e-9L);
    EXPECT_NEAR(number_after("Approximate maximum off-state driver voltage: ") / (180 * G * 4 / kPi / N), 1,
                1e-9L);

    SimulationSettings s;
    s.VinWaveform = signal == 0 ? Waveform::Cosine : Waveform::Sine;
    for (const std::string& effect : host.effects)
      if (effect.rfind("fin ", 0) == 0) s.InputFrequency = std::stold(effect.substr(4));
    s.Points = 50000;
    RecordingHost run;
    RunSimulation(*state, s, run);
    EXPECT_NEAR(std::fabs(state->Engine.StateMaxima[StVCb].Value) / (180 * G), 1, 0.005L) << signal;
  }
}
