#include "simulation/waveform_store.h"

#include <gtest/gtest.h>

#include "simulation/circuits.h"
#include "simulation/run_host_fake.h"
#include "state/app_state.h"

using namespace kovaro;

TEST(WaveformStore, ReferenceKeepsItsOwnCountAndScaling) {
  auto state = std::make_unique<AppState>();
  EXPECT_EQ(state->Store.SampleCount, 0);
  EXPECT_EQ(state->Store.ReferenceCount, 0);
  EXPECT_EQ(state->Store.Time.size(), 50000u);
  state->Elements = LosslessCoil();
  RecordingHost host;
  SimulationSettings s;
  RunSimulation(*state, s, host);
  SaveReference(state->Store);
  const std::vector<Sample> saved(state->Store.Channels.begin(), state->Store.Channels.begin() + 10000);
  const Real last_time = state->Store.Time[9999];

  // A shorter run with another ILa scale leaves the reference as it was.
  s.Points = 2000;
  s.Scale[ILa] = 1;
  RunSimulation(*state, s, host);
  const WaveformStore& st = state->Store;
  EXPECT_EQ(st.SampleCount, 2000);
  EXPECT_EQ(st.ReferenceCount, 10000);
  EXPECT_EQ(st.ReferenceTime[9999], last_time);
  EXPECT_EQ(std::vector<Sample>(st.ReferenceChannels.begin(), st.ReferenceChannels.begin() + 10000), saved);
  EXPECT_NE(st.ReferenceTime[1], st.Time[1]);

  SaveReference(state->Store);
  EXPECT_EQ(st.ReferenceCount, 2000);
  EXPECT_EQ(st.ReferenceTime[1], st.Time[1]);
  EXPECT_EQ(st.ReferenceChannels[1999], st.Channels[1999]);
  EXPECT_EQ(st.ReferenceChannels[2000], saved[2000]);  // beyond the count: left from before
}
