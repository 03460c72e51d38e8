// A 50000-point trapezoidal run of the lossless coil, sine and squared-sine drive: the same run
// again (the sine values are kept from the run before), and a sine run that cannot reuse them.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "state/app_state.h"

using namespace kovaro;

namespace {

void Run(benchmark::State& bench, Waveform waveform, bool new_frequency = false) {
  auto state = std::make_unique<AppState>();
  state->Elements = ElementSet{5.07E-9L, 58.4562648953E-6L, 0.0282L, 1.04E-11L, 500000, 0.1021619L, 0, 0, 0};
  SimulationSettings s;
  s.VinWaveform = waveform;
  s.InputFrequency = 294273.2L;
  s.Points = 50000;
  for (auto _ : bench) {
    if (new_frequency) s.InputFrequency = std::nextafter(s.InputFrequency, 0.0L);
    QuietRun(state->Elements, s, state->Target());
    benchmark::DoNotOptimize(state->Store.Channels[49999]);
  }
}

void BM_TrapezoidalSine(benchmark::State& bench) { Run(bench, Waveform::Sine); }
void BM_TrapezoidalSquaredSine(benchmark::State& bench) { Run(bench, Waveform::SquaredSine); }
void BM_TrapezoidalSineFirstRun(benchmark::State& bench) { Run(bench, Waveform::Sine, true); }

}  // namespace

BENCHMARK(BM_TrapezoidalSine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrapezoidalSquaredSine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrapezoidalSineFirstRun)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
