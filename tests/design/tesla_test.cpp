#include "design/tesla.h"

#include <gtest/gtest.h>

#include "design/design_host_fake.h"
#include "shell/float_error.h"
#include "state/app_state.h"

using namespace kovaro;

TEST(TeslaCoil, InitialValues) {
  auto state = std::make_unique<AppState>();
  RecordingDesignHost host;
  DesignRegularCoil(TeslaInputs{}, *state, host);
  const std::vector<std::string> expected{"",
                                          "Ideal Tesla coil:",
                                          "Energy transfer from C1 to C2",
                                          "C1=    5.0700000000 nF",
                                          "L1=   58.6804733728 \u00B5H",
                                          "C2=   10.5500000000 pF",
                                          "L2=   28.2000000000 mH",
                                          "k12=     0.1172413793",
                                          "w0=   216.8132017635 krad/s",
                                          "Resonances: 276.0551, 310.5620 kHz",
                                          "Energy transfer time:    14.4898586804 \u00B5s ( 4.5 cycles)",
                                          "field Ca 5.070000E-0009",
                                          "field Cb 1.055000E-0011",
                                          "field La 5.868047E-0005",
                                          "field Lb 2.820000E-0002",
                                          "field kab 1.172413E-0001",
                                          "field Rb 5.000000E+0006",
                                          "simulate 1",
                                          "fin 3.450689E+0004",
                                          "remove load",
                                          "hide"};
  EXPECT_EQ(host.effects, expected);
  EXPECT_EQ(state->DesignName, "tesla89");
  EXPECT_EQ(state->Elements.kab, 17.0L / 145);
  EXPECT_EQ(state->Elements.Rb, 5000000);
}

TEST(TeslaCoil, ModesAndUpdate) {
  auto state = std::make_unique<AppState>();
  TeslaInputs in;
  in.l = 10;
  RecordingDesignHost even;
  DesignRegularCoil(in, *state, even);
  EXPECT_EQ(even.effects, std::vector<std::string>{"The multipliers must have odd differences"});

  in = TeslaInputs{};
  in.k = 9;
  in.l = 8;
  RecordingDesignHost reversed;
  DesignRegularCoil(in, *state, reversed);
  EXPECT_EQ(reversed.effects[7], "k12=    -0.1172413793");
  EXPECT_EQ(state->Elements.kab, -17.0L / 145);
  EXPECT_EQ(state->DesignName, "tesla98");

  in = TeslaInputs{};
  in.update = false;
  RecordingDesignHost report_only;
  DesignRegularCoil(in, *state, report_only);
  EXPECT_EQ(report_only.effects.size(), 11u);
  EXPECT_EQ(state->DesignName, "tesla98");

  in = TeslaInputs{};
  in.transfers = 2;
  RecordingDesignHost two;
  DesignRegularCoil(in, *state, two);
  EXPECT_EQ(two.effects[18], "fin 1.725345E+0004");

  // Large modes: no 32-bit overflow in 2 k^2 l^2.
  in = TeslaInputs{};
  in.k = 100000;
  in.l = 100001;
  RecordingDesignHost large;
  DesignRegularCoil(in, *state, large);
  EXPECT_NEAR(state->Elements.kab, (100001.0L * 100001 - 1E10L) / (100001.0L * 100001 + 1E10L), 1E-18L);
}

TEST(TeslaCoil, FaultsStopWhereTheyHappen) {
  auto state = std::make_unique<AppState>();
  TeslaInputs in;
  in.k = 0;
  in.l = 1;
  RecordingDesignHost zero;
  EXPECT_THROW(DesignRegularCoil(in, *state, zero), FloatError);
  EXPECT_EQ(zero.effects.size(), 3u);

  in = TeslaInputs{};
  in.transfers = 0;  // the fields are set, the rest is not
  RecordingDesignHost no_transfers;
  try {
    DesignRegularCoil(in, *state, no_transfers);
    ADD_FAILURE();
  } catch (const FloatError& e) {
    EXPECT_STREQ(e.what(), "Floating point division by zero");
  }
  EXPECT_EQ(no_transfers.effects.back(), "simulate 1");
  EXPECT_EQ(state->DesignName, "");
  EXPECT_EQ(state->Elements.Ca, 0);

  in = TeslaInputs{};
  in.C2 = -1E-11L;
  RecordingDesignHost negative;
  EXPECT_THROW(DesignRegularCoil(in, *state, negative), FloatError);
  EXPECT_EQ(negative.effects.size(), 3u);
}
