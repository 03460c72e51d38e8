// Checks the integration against the physics of the lossless coil rather than against the
// formulas of the code: the designed voltage appears after the designed number of cycles,
// and energy is conserved.

#include <gtest/gtest.h>

#include <cmath>

#include "simulation/circuits.h"
#include "simulation/run_host_fake.h"
#include "state/app_state.h"

using namespace kovaro;

TEST(Physics, LosslessCoilDeliversAllInputEnergyToCb) {
  auto state = std::make_unique<AppState>();
  state->Elements = LosslessCoil();
  SimulationSettings s;
  s.VinWaveform = Waveform::Sine;
  s.InputFrequency = 294273.2L;
  s.Scale = {1, 1, 1, 1, 1, 1};
  RecordingHost host;
  RunSimulation(*state, s, host);
  const WaveformStore& st = state->Store;
  const ElementSet& e = state->Elements;

  int first = -1;
  for (int k = 0; k < st.SampleCount && first < 0; ++k) {
    if (std::fabs(st.Channels[k][VCb]) >= 77397 * (1 - 0.001L)) first = k;
  }
  ASSERT_GE(first, 0);
  const Real period = 1 / s.InputFrequency;
  EXPECT_NEAR(st.Time[first], 9.75L * period, period);

  // Energy delivered by the driver up to that moment: the Vin channel of sample k holds the
  // driver voltage at the time of sample k + 1.
  Real delivered = 0;
  for (int k = 1; k <= first; ++k) {
    const Real p0 = st.Channels[k - 1][ILa] * (k >= 2 ? st.Channels[k - 2][Vin] : 0);
    const Real p1 = st.Channels[k][ILa] * st.Channels[k - 1][Vin];
    delivered += (p0 + p1) / 2 * (st.Time[k] - st.Time[k - 1]);
  }
  const Real vcb = st.Channels[first][VCb];
  const Real in_cb = 0.5L * e.Cb * vcb * vcb;
  EXPECT_NEAR(in_cb / delivered, 1, 0.01);
  // The other stores are nearly empty then.
  const Real in_ca = 0.5L * e.Ca * st.Channels[first][VCa] * st.Channels[first][VCa];
  EXPECT_LT(in_ca / in_cb, 0.01);
}
