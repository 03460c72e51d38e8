#include "drive/drive.h"

#include <gtest/gtest.h>

#include <memory>

#include "design/design_host_fake.h"
#include "frequency/response.h"
#include "shell/messages.h"
#include "simulation/circuits.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

namespace {

// A run of three samples, unscaled: ILa 0, 10 and 30 A at 0, 1 and 2 us.
std::unique_ptr<AppState> ThreeSamples() {
  auto state = std::make_unique<AppState>();
  SimulationSettings s;
  s.InputFrequency = 300000;
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
  const RunChannels run = ChannelsOfRun(*state);
  const RunFigures f = FiguresOfRun(run, state->Engine.StateMaxima);
  EXPECT_EQ(f.vca, 300);
  EXPECT_EQ(f.ila, 30);
  EXPECT_NEAR(f.dvdt, 400e6L, 1e-6L);
  EXPECT_NEAR(f.ila_rms, std::sqrt(275.0L), 1e-15L);
  const auto reached = FirstReaching(run, 20);
  ASSERT_TRUE(reached);
  EXPECT_NEAR(reached->time, 1.5e-6L, 1e-20L);
  EXPECT_EQ(reached->cycle, 1);
  EXPECT_NEAR(reached->vca, 100, 1e-15L);
  EXPECT_NEAR(reached->vcb, 1500, 1e-12L);
  EXPECT_FALSE(FirstReaching(run, 31));
}

// A run shown scaled, however extremely (an offset that swamps VCa's scaled samples), gives the
// figures of the same run shown unscaled, bit for bit: they come from the circuit's values.
TEST(Drive, TheFiguresAreTheRunsOwnWhateverItsDisplay) {
  const auto report = [](const std::array<Real, kChannelCount>& scale,
                         const std::array<Real, kChannelCount>& offset, RunChannels& channels) {
    auto state = std::make_unique<AppState>();
    state->Elements = LosslessCoil();
    SimulationSettings s;
    s.InputFrequency = 279000;
    s.FinalTime = 2e-5L;
    s.Points = 2000;
    s.Scale = scale;
    s.Offset = offset;
    RecordingHost run;
    RunSimulation(*state, s, run);
    channels = ChannelsOfRun(*state);
    RecordingDesignHost log;
    SizeBank(DriveInputs{}, *state, std::nullopt, log);
    return log.lines;
  };
  RunChannels plain;
  RunChannels shown;
  const std::vector<std::string> unscaled = report({1, 1, 1, 1, 1, 1}, {}, plain);
  EXPECT_EQ(report({10, -1e-4000L, 1000, 1e-3L, 1000, 10}, {0, 1e4000L, 5, -7, 0, 0}, shown), unscaled);
  EXPECT_EQ(shown.vca, plain.vca);
  EXPECT_EQ(shown.ila, plain.ila);
  EXPECT_EQ(shown.vcb, plain.vcb);
  EXPECT_EQ(shown.time, plain.time);
  ASSERT_EQ(plain.vca.size(), 2000u);
  EXPECT_TRUE(Contains(unscaled, "dV/dt per capacitor=") == false);
  const auto dvdt = std::find_if(unscaled.begin(), unscaled.end(), [](const std::string& line) {
    return line.rfind("dV/dt per capacitor=", 0) == 0;
  });
  ASSERT_NE(dvdt, unscaled.end());
  EXPECT_NE(*dvdt, "dV/dt per capacitor=        0.00000 V/us");
}

// The streamers' resonance is the secondary's lowest natural mode with them, uncoupled.
TEST(Drive, StreamersDetuneTheSecondaryToItsMode) {
  DriveInputs in;
  in.streamer_length = 1.5L;
  in.reactance_resistance = true;
  ElementSet e = LosslessCoil();
  const StreamerLoad load = Streamers(in, e.Lb, e.Cb);
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

  // "Apply streamer load" writes Cb + Cs and the resistance, as a design writes its fields;
  // applied again, to the secondary's own Cb, not to the loaded one; after the elements
  // change (a design), to the new Cb.
  auto state = std::make_unique<AppState>();
  state->Elements = LosslessCoil();
  RecordingDesignHost host;
  std::optional<AppliedStreamers> applied = ApplyStreamerLoad(in, std::nullopt, *state, host);
  EXPECT_EQ(state->Elements.Cb, LosslessCoil().Cb + load.capacitance);
  EXPECT_EQ(state->Elements.Rb, load.resistance);
  EXPECT_EQ(host.effects[0], "field Cb " + RecordingDesignHost::Value(state->Elements.Cb));
  EXPECT_EQ(host.effects[1], "field Rb " + RecordingDesignHost::Value(load.resistance));
  EXPECT_TRUE(
      Contains(host.lines, "Cb without the streamers=" + FormatReal(LosslessCoil().Cb, 15, -1) + " F"));
  in.streamer_length = 3;
  applied = ApplyStreamerLoad(in, applied, *state, host);
  EXPECT_EQ(state->Elements.Cb, LosslessCoil().Cb + 3 * 3.3e-12L);
  applied = ApplyStreamerLoad(in, applied, *state, host);
  EXPECT_EQ(state->Elements.Cb, LosslessCoil().Cb + 3 * 3.3e-12L);
  state->Elements.Cb = 20e-12L;
  ApplyStreamerLoad(in, applied, *state, host);
  EXPECT_EQ(state->Elements.Cb, 20e-12L + 3 * 3.3e-12L);
}

TEST(Drive, BadInputIsRefusedNamingTheFieldAndNothingIsReported) {
  const auto state = ThreeSamples();
  const auto refusal = [&](auto change, const AppState& s) {
    DriveInputs in;
    change(in);
    RecordingDesignHost log;
    try {
      SizeBank(in, s, std::nullopt, log);
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
  // Extremes: each refused naming the field, not a fault without a name nor "+Inf" printed.
  EXPECT_EQ(
      with([](DriveInputs& in) { in.margin = 1e4000L; }),
      "Voltage margin and DC voltage rating (V): the bank would need more than 100000 capacitors in series");
  EXPECT_EQ(
      with([](DriveInputs& in) { in.voltage_rating = 1e-4000L; }),
      "Voltage margin and DC voltage rating (V): the bank would need more than 100000 capacitors in series");
  EXPECT_EQ(with([](DriveInputs& in) { in.current_rating = 1e-4930L; }),
            "Peak current rating (A) would give a figure of the report beyond the largest number");
  EXPECT_EQ(with([](DriveInputs& in) { in.dvdt_rating = 1e-4930L; }),
            "dV/dt rating (V/us) would give a figure of the report beyond the largest number");
  const auto strong = ThreeSamples();  // 5E4908 J in Cb at its largest |VCb|
  strong->Engine.StateMaxima[StVCb].Value = 1e2460L;
  EXPECT_EQ(refusal(
                [](DriveInputs& in) {
                  in.on_time = 1e-100L;
                  in.rate = 1e100L;
                },
                *strong),
            "Bursts per second (Hz) would give a figure of the report beyond the largest number");
  EXPECT_EQ(
      with([](DriveInputs& in) {
        in.streamer_length = 1e4000L;
        in.streamer_capacitance = 1e4000L;
      }),
      "Streamer length (m) times Streamer capacitance (F/m) would give a figure of the report beyond the "
      "largest number");
  EXPECT_EQ(with([](DriveInputs& in) {
              in.streamer_length = 1e-4000L;
              in.streamer_capacitance = 1e-4000L;
              in.reactance_resistance = true;
            }),
            "Streamer length (m) times Streamer capacitance (F/m) is too small for a resistance equal to the "
            "streamers' reactance: their reactance would be beyond the largest number");
  // A burst on all the time is a duty of exactly 1: accepted.
  EXPECT_EQ(with([](DriveInputs& in) {
              in.on_time = 0.01L;
              in.rate = 100;
            }),
            "");
  AppState none;
  EXPECT_EQ(refusal([](DriveInputs&) {}, none),
            "Drive and bank needs a completed run: press \"Simulate and plot\" first");
  EXPECT_EQ(with([](DriveInputs&) {}), "");
}
