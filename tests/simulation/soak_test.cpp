// Many runs with random settings and elements: each completes or stops with an arithmetic
// fault, the store never exceeds its capacity, and memory does not grow from run to run.

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "shell/float_error.h"
#include "simulation/run_host_fake.h"
#include "state/app_state.h"

using namespace kovaro;

namespace {

long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * 4096;
}

}  // namespace

TEST(Soak, TwoThousandRandomRuns) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> unit(0, 1);
  // Mostly around a working coil, sometimes far off, zero or negative.
  const auto around = [&](Real typical) -> Real {
    const double u = unit(random);
    if (u < 0.03) return 0;
    if (u < 0.06) return -typical;
    if (u < 0.08) return typical * 1E300L;
    return typical * static_cast<Real>(std::pow(10.0, 2 * unit(random) - 1));
  };
  auto state = std::make_unique<AppState>();
  int completed = 0;
  int faulted = 0;
  int refused = 0;
  long resident_at_10 = 0;
  for (int run = 0; run < 2000; ++run) {
    ElementSet& e = state->Elements;
    e = {around(5E-9L),  around(5E-5L), around(0.03L),
         around(1E-11L), around(5E5L),  static_cast<Real>(unit(random)) * 0.3L,
         around(0.1L),   around(40),    around(0.3L)};
    SimulationSettings s;
    s.VinWaveform = static_cast<Waveform>(random() % 4);
    s.AfterStop = static_cast<StopMode>(random() % 4);
    s.InputVoltage = around(180);
    s.InputFrequency = around(300000);
    s.FinalTime = around(1E-4L);
    s.Points = static_cast<int32_t>(std::pow(10.0, 3 + 1.8 * unit(random)));
    s.Trapezoidal = unit(random) < 0.7;
    s.RemoveLoad = unit(random) < 0.5;
    s.Feedback = unit(random) < 0.2;
    s.AddOffset = unit(random) < 0.2;
    s.StopTime = around(5E-5L);
    s.TurnOffDelay = around(2E-6L);
    s.OpenResistance = around(10000);
    s.UseMaximum = unit(random) < 0.2;
    s.ListDetails = unit(random) < 0.5;
    RecordingHost host;
    try {
      RunSimulation(*state, s, host);
      if (host.lines.size() == 1 && host.lines[0] == "Too few points.") {
        ++refused;
      } else {
        ++completed;
      }
    } catch (const FloatError& fault) {
      const std::string message = fault.what();
      ASSERT_TRUE(message == kDivisionByZero || message == kInvalidOperation || message == kOverflow)
          << message;
      ++faulted;
    }
    ASSERT_LE(state->Store.SampleCount, kCapacity);
    if (run == 9) resident_at_10 = ResidentBytes();
  }
#if defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer holds freed memory in quarantine, so resident memory grows without a
  // leak; in that build LeakSanitizer looks for leaks instead.
  (void)resident_at_10;
#else
  EXPECT_LT(ResidentBytes() - resident_at_10, 1 << 20);
#endif
  std::printf("2000 runs: %d completed, %d refused by the points test, %d stopped by a fault\n", completed,
              refused, faulted);
  EXPECT_GT(completed, 200);
  EXPECT_GT(faulted, 50);
}
