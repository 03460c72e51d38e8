#include "design/lossy.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "design/design_host_fake.h"
#include "shell/file_error.h"
#include "shell/float_error.h"
#include "simulation/run_host_fake.h"
#include "state/app_state.h"

using namespace kovaro;

namespace {

std::vector<std::string> Design(const LossyInputs& in, AppState& state) {
  RecordingDesignHost host;
  DesignLossy(in, state, host);
  return host.effects;
}

}  // namespace

TEST(LossyDesign, InitialValuesDoublyAndSingly) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  LossyInputs in;
  in.details = true;
  const std::vector<std::string> expected{"",
                                          "Butterworth doubly terminated bandpass filter:",
                                          "R1:  2.291831E+0000",
                                          "C1:  2.728035E-0008",
                                          "L1:  1.031686E-0005",
                                          "L2:  1.432898E-0007",
                                          "C2:  1.964186E-0006",
                                          "R2:  2.291831E+0000",
                                          "Value list saved as td6n.val",
                                          "Final circuit, doubly terminated design:",
                                          "Ra:    2.2918311805 ohms",
                                          "Ca: 27280.3542124440 pF",
                                          "La:   10.4601548206 uH",
                                          "Lb: 35822.4480156723 uH",
                                          "kab:    0.1170411472",
                                          "Cb:    7.8567420132 pF",
                                          "Rb: 572957.7951308232 ohms",
                                          "Value list saved as td6.val",
                                          "field Ca 2.728035E-0008",
                                          "field La 1.046015E-0005",
                                          "field Cb 7.856742E-0012",
                                          "field Lb 3.582245E-0002",
                                          "field kab 1.170411E-0001",
                                          "field Rb 5.729578E+0005",
                                          "La*Ca =  2.853567E-0013",
                                          "Lb*Cb =  2.814477E-0013",
                                          "La*Ca*(1-kab^2) =  2.814477E-0013",
                                          "1/(2*pi*sqrt(Lb*Cb)) =  3.000000E+0005",
                                          "Peak energy in Cb at steady state:    0.0515843251 J",
                                          "fin 3.000000E+0005",
                                          "simulate 1",
                                          "hide"};
  EXPECT_EQ(Design(in, *state), expected);
  EXPECT_EQ(state->DesignName, "td6");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "td6n.val"));
  EXPECT_LE(std::filesystem::last_write_time(dir.path() / "td6n.val"),
            std::filesystem::last_write_time(dir.path() / "td6.val"));

  in.termination = Termination::Singly;
  in.details = false;
  const auto singly = Design(in, *state);
  EXPECT_EQ(singly[1], "Final circuit, singly terminated design:");
  EXPECT_EQ(singly[2], "Ca: 27280.3542124440 pF");  // no "Ra:" line
  EXPECT_EQ(singly[3], "La:   10.6034446126 uH");
  EXPECT_EQ(singly[4], "Lb: 71644.8960313445 uH");
  EXPECT_EQ(singly[5], "kab:    0.1643989873");
  EXPECT_EQ(singly[6], "Cb:    3.9283710066 pF");
  EXPECT_EQ(singly[7], "Rb: 572957.7951308232 ohms");
  EXPECT_EQ(singly[8], "Value list saved as ts6.val");
  EXPECT_TRUE(Contains(singly, "Peak energy in Cb at steady state:    0.0257921626 J"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "ts6n.val"));

  in.termination = Termination::Doubly;
  in.square = false;
  const auto sine = Design(in, *state);
  EXPECT_EQ(sine[1], "Final circuit, doubly terminated design:");
  EXPECT_EQ(sine[2], "Ra:    1.8000000000 ohms");
  EXPECT_EQ(sine[3], "Ca: 34734.4257776661 pF");
  EXPECT_EQ(sine[6], "kab:    0.1170411472");
  EXPECT_EQ(sine[8], "Rb: 450000.0000000000 ohms");
  EXPECT_EQ(sine[9], "Value list saved as td6.val");
  EXPECT_EQ(sine[16], "Peak energy in Cb at steady state:    0.0656792027 J");  // still with 4/pi
}

TEST(LossyDesign, FaultsAndRefusedFiles) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  state->DesignName = "before";
  LossyInputs in;
  in.iin = 0;
  RecordingDesignHost host;
  try {
    DesignLossy(in, *state, host);
    ADD_FAILURE();
  } catch (const FloatError& e) {
    EXPECT_STREQ(e.what(), "Floating point division by zero");
  }
  EXPECT_EQ(host.effects, std::vector<std::string>{""});
  EXPECT_EQ(state->DesignName, "before");
  EXPECT_EQ(state->Elements.Ca, 0);

  in = LossyInputs{};
  in.gain = 0;  // Cb = C2 / 0 after Ca, La and Lb are stored
  EXPECT_THROW(Design(in, *state), FloatError);
  EXPECT_EQ(state->DesignName, "td6");
  EXPECT_GT(state->Elements.La, 0);
  EXPECT_EQ(state->Elements.Cb, 0);

  // The prototype list refused: the element set holds the design, nothing else changes.
  in = LossyInputs{};
  in.details = true;
  std::filesystem::current_path("/sys");
  RecordingDesignHost refused;
  EXPECT_THROW(DesignLossy(in, *state, refused), FileError);
  std::filesystem::current_path(dir.path());
  EXPECT_EQ(refused.effects.back(), "R2:  2.291831E+0000");
  EXPECT_NEAR(state->Elements.Cb, 7.8567420132E-12L, 1E-21L);
}

TEST(LossySet, GainAndBandwidthForAWantedEnergy) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  LossyInputs in;
  RecordingDesignHost set;
  SetGainAndBandwidth(in, set);
  EXPECT_EQ(set.effects, (std::vector<std::string>{"design Bandwidth 2.579216E+0003",
                                                   "design Gain 9.756687E+0002", "simulate 0"}));
  // The window's fields take the values; a Design right after gives Cb = Ct and 1 J.
  in.bandwidth = 2579.216257L;
  in.gain = 975.6687126L;
  auto design = Design(in, *state);
  EXPECT_EQ(state->DesignName, "td116");
  EXPECT_NEAR(state->Elements.Cb, 40E-12L, 1E-19L);
  EXPECT_TRUE(Contains(design, "Peak energy in Cb at steady state:    1.0000000000 J"));

  in.termination = Termination::Singly;
  RecordingDesignHost singly;
  SetGainAndBandwidth(in, singly);
  EXPECT_EQ(singly.effects[0], "design Bandwidth 1.289608E+0003");
  EXPECT_EQ(singly.effects[1], "design Gain 9.756687E+0002");
  in.bandwidth = 1289.608129L;
  design = Design(in, *state);
  EXPECT_EQ(state->DesignName, "ts233");
  EXPECT_NEAR(state->Elements.Cb, 40E-12L, 1E-19L);

  in = LossyInputs{};
  in.energy = 0;
  RecordingDesignHost zero;
  EXPECT_THROW(SetGainAndBandwidth(in, zero), FloatError);
  EXPECT_TRUE(zero.effects.empty());
  in = LossyInputs{};
  in.ct = 0;
  RecordingDesignHost no_ct;
  EXPECT_THROW(SetGainAndBandwidth(in, no_ct), FloatError);
  EXPECT_EQ(no_ct.effects, std::vector<std::string>{"design Bandwidth 2.579216E+0003"});
}

TEST(LossyFromElements, DoublySinglyAndTheInverseOfDesign) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  LossyInputs in;
  in.details = true;
  RecordingDesignHost host;
  DesignLossyFromElements(in, *state, host);
  const std::vector<std::string> head{"",
                                      "Final circuit, doubly terminated design with specified elements:",
                                      "Driving frequency:    293886.00675 Hz",
                                      "Bandwidth:     44587.51508 Hz",
                                      "Voltage gain:  205.8106984095",
                                      "Ra:   11.4591559026 ohms",
                                      "Rb: 485387.4251108491 ohms",
                                      "Ca: 5070.0000000000 pF",
                                      "La:   58.5119069739 uH",
                                      "Lb: 28200.0000000000 uH",
                                      "kab:    0.1066680809",
                                      "Cb:   10.4000000000 pF",
                                      "Value list saved as tde7.val"};
  EXPECT_EQ(std::vector<std::string>(host.effects.begin(), host.effects.begin() + 13), head);
  EXPECT_EQ(host.effects[19], "La*Ca =  2.966554E-0013");  // details follow; no prototype
  EXPECT_TRUE(Contains(host.effects, "Peak energy in Cb at steady state:    0.0115692308 J"));
  EXPECT_TRUE(Contains(host.effects, "fin 2.938860E+0005"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "tde7n.val"));

  in.termination = Termination::Singly;
  RecordingDesignHost singly;
  DesignLossyFromElements(in, *state, singly);
  EXPECT_EQ(singly.effects[4], "Voltage gain:  145.5301404861");
  EXPECT_EQ(singly.effects[6], "Rb: 242693.7125554245 ohms");
  EXPECT_EQ(singly.effects[8], "La:   59.1776601017 uH");
  EXPECT_EQ(singly.effects[10], "kab:    0.1500005015");
  EXPECT_EQ(state->DesignName, "tse7");

  // The elements of the initial Design give back its frequency, bandwidth and gain.
  in = LossyInputs{};
  in.Ca1 = 27280.4E-12L;
  in.Lb1 = 35822.4E-6L;
  in.Cb1 = 7.85674E-12L;
  in.iin1 = 100;
  RecordingDesignHost inverse;
  DesignLossyFromElements(in, *state, inverse);
  const auto number = [&](int i) {
    return std::stold(inverse.effects[i].substr(inverse.effects[i].find(':') + 1));
  };
  EXPECT_NEAR(number(2), 300000, 1);  // within the rounding of the entered digits
  EXPECT_NEAR(number(3), 50000, 1);
  EXPECT_NEAR(number(4), 500, 0.01);
  EXPECT_EQ(state->DesignName, "tde6");

  // Lb * Cb = 0 stops at the frequency, after the three elements are stored.
  in.Lb1 = 0;
  RecordingDesignHost fault;
  EXPECT_THROW(DesignLossyFromElements(in, *state, fault), FloatError);
  EXPECT_EQ(fault.effects, std::vector<std::string>{""});
  EXPECT_EQ(state->Elements.Lb, 0);
  EXPECT_EQ(state->Elements.Ca, 27280.4E-12L);
}
