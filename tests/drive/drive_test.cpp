#include "drive/drive.h"

#include <gtest/gtest.h>

#include <memory>

#include "design/design_host_fake.h"
#include "frequency/response.h"
#include "shell/messages.h"
#include "simulation/circuits.h"

using namespace kovaro;

namespace {

// A run of three samples, unscaled: ILa 0, 10 and 30 A at 0, 1 and 2 us.
std::unique_ptr<AppState> ThreeSamples() {
  auto state = std::make_unique<AppState>();
  SimulationSettings s;
  s.NEfin = 300000;
  s.Scale = {1, 1, 1, 1, 1, 1};
  state->Elements = LosslessCoil();
  state->Engine.Completed = CompletedRun{s, LosslessCoil()};
  state->Store.SampleCount = 3;
  const Real ila[] = {0, 10, 30};
  const Real vca[] = {0, 100, -300};
  for (int k = 0; k < 3; ++k) {
    state->Store.Time[k] = k * 1e-6L;
    state->Store.Channels[k][ILa] = ila[k];
    state->Store.Channels[k][VCa] = vca[k];
    state->Store.Channels[k][VCb] = 1000 * k;
  }
  state->Engine.StateMaxima[StVCa] = {-300, 2e-6L};
  state->Engine.StateMaxima[StILa] = {30, 2e-6L};
  state->Engine.StateMaxima[StVCb] = {2000, 2e-6L};
  return state;
}

}  // namespace

// Hand-computed from the three samples: the limit of 20 A is half-way from 10 to 30 A, at
// 1.5 us, in the first cycle of 300 kHz (3.33 us), where VCa is 100 - 200 = -100 V and VCb
// 1500 V; dV/dt is 400 V per us at most; the rms of ILa by trapezoids over 2 us is
// sqrt((0 + 100)/2 + (100 + 900)/2) / sqrt(2) = sqrt(275) A.
TEST(Drive, FiguresOfARunAndWhenItReachesALimit) {
  const auto state = ThreeSamples();
  const RunFigures f = FiguresOfRun(*state);
  EXPECT_EQ(f.vca, 300);
  EXPECT_EQ(f.ila, 30);
  EXPECT_NEAR(f.dvdt, 400e6L, 1e-6L);
  EXPECT_NEAR(f.ila_rms, std::sqrt(275.0L), 1e-15L);
  const auto reached = FirstReaching(*state, 20);
  ASSERT_TRUE(reached);
  EXPECT_NEAR(reached->time, 1.5e-6L, 1e-20L);
  EXPECT_EQ(reached->cycle, 1);
  EXPECT_NEAR(reached->vca, 100, 1e-15L);
  EXPECT_NEAR(reached->vcb, 1500, 1e-12L);
  EXPECT_FALSE(FirstReaching(*state, 31));
  // Samples stored scaled are unscaled first.
  state->Engine.Completed->settings.Scale[ILa] = 1000;
  state->Engine.Completed->settings.Offset[ILa] = 5;
  for (int k = 0; k < 3; ++k) state->Store.Channels[k][ILa] = state->Store.Channels[k][ILa] * 1000 + 5;
  EXPECT_NEAR(FirstReaching(*state, 20)->time, 1.5e-6L, 1e-20L);
}

// The streamers' resonance is the secondary's lowest natural mode with them, uncoupled.
TEST(Drive, StreamersDetuneTheSecondaryToItsMode) {
  DriveInputs in;
  in.streamer_length = 1.5L;
  in.reactance_resistance = true;
  ElementSet e = LosslessCoil();
  const StreamerLoad load = Streamers(in, e);
  EXPECT_NEAR(load.capacitance, 4.95e-12L, 1e-24L);
  EXPECT_NEAR(load.resistance * 2 * kPi * load.f_with * load.capacitance, 1, 1e-15L);
  e.Cb += load.capacitance;
  e.Rb = load.resistance;
  e.kab = 0;
  const std::vector<Mode> modes = NaturalModes(BuildCircuit(e, false));
  Real secondary = 0;
  for (const Mode& m : modes)
    if (m.oscillating && std::fabs(m.f / load.f_with - 1) < 0.1L) secondary = m.f;
  EXPECT_NEAR(secondary / load.f_with, 1, 1e-9L);
  EXPECT_LT(load.f_with, load.f_without);

  // "Apply streamer load" writes Cb + Cs and the resistance, as a design writes its fields.
  auto state = std::make_unique<AppState>();
  state->Elements = LosslessCoil();
  RecordingDesignHost host;
  BdapplyClick(in, *state, host);
  EXPECT_EQ(state->Elements.Cb, LosslessCoil().Cb + load.capacitance);
  EXPECT_EQ(state->Elements.Rb, load.resistance);
  EXPECT_EQ(host.effects[0], "field Cb " + RecordingDesignHost::Value(state->Elements.Cb));
  EXPECT_EQ(host.effects[1], "field Rb " + RecordingDesignHost::Value(load.resistance));
}

TEST(Drive, BadInputIsRefusedNamingTheFieldAndNothingIsReported) {
  const auto state = ThreeSamples();
  const auto refusal = [&](auto change, const AppState& s) {
    DriveInputs in;
    change(in);
    RecordingDesignHost log;
    try {
      BdcalcClick(in, s, log);
    } catch (const InputError& e) {
      EXPECT_TRUE(log.lines.empty());
      return std::string(e.what());
    }
    return std::string();
  };
  const auto with = [&](auto change) { return refusal(change, *state); };
  EXPECT_EQ(with([](DriveInputs& in) { in.capacitance = 0; }), "Capacitance (F) must be greater than 0");
  EXPECT_EQ(with([](DriveInputs& in) { in.voltage_rating = -1; }),
            "DC voltage rating (V) must be greater than 0");
  EXPECT_EQ(with([](DriveInputs& in) { in.current_rating = 0; }),
            "Peak current rating (A) must be greater than 0");
  EXPECT_EQ(with([](DriveInputs& in) { in.dvdt_rating = 0; }), "dV/dt rating (V/us) must be greater than 0");
  EXPECT_EQ(with([](DriveInputs& in) { in.tan_delta = -0.1L; }),
            "Dissipation factor (tan delta) must not be negative");
  EXPECT_EQ(with([](DriveInputs& in) { in.margin = 0.99L; }), "Voltage margin must be at least 1");
  EXPECT_EQ(with([](DriveInputs& in) { in.current_limit = 0; }),
            "Over-current limit (A) must be greater than 0");
  EXPECT_EQ(with([](DriveInputs& in) { in.rate = 20000; }),
            "Burst on-time (s) times Bursts per second (Hz) must not exceed 1");
  EXPECT_EQ(with([](DriveInputs& in) { in.streamer_resistance = 0; }),
            "Streamer resistance (ohm) must be greater than 0");
  // One capacitor of 1 uF in one string is 197 times the run's Ca of 5.07 nF.
  EXPECT_EQ(with([](DriveInputs& in) { in.capacitance = 1e-6L; }),
            "Capacitance (F) is too large: one string of 1 gives 1E-6 F, more than twice Ca");
  AppState none;
  EXPECT_EQ(refusal([](DriveInputs&) {}, none),
            "Drive and bank needs a completed run: press \"Simulate and plot\" first");
  EXPECT_EQ(with([](DriveInputs&) {}), "");
}
