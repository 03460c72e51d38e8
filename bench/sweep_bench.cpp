// A 500-point sweep of 10000-point runs of the lossless coil: Cb with the squared-sine drive,
// and the input frequency with the sine drive (every run computes new sine values).

#include <benchmark/benchmark.h>

#include "simulation/circuits.h"
#include "sweep/sweep.h"

using namespace kovaro;

namespace {

void RunSweep(benchmark::State& bench, SweptQuantity quantity, Waveform waveform) {
  const ElementSet e = LosslessCoil();
  SimulationSettings s;
  s.VinWaveform = waveform;
  s.InputFrequency = 294273.2L;
  const Real v = SweptValue(quantity, e, s);
  for (auto _ : bench) {
    Sweep sweep(e, s, quantity, SweepRange{v * 0.95L, v * 1.05L, 500});
    while (!sweep.Done()) sweep.Next();
    benchmark::DoNotOptimize(sweep.Points().back());
  }
}

void BM_SweepCb500(benchmark::State& bench) { RunSweep(bench, SweptQuantity::Cb, Waveform::SquaredSine); }
void BM_SweepFrequency500Sine(benchmark::State& bench) {
  RunSweep(bench, SweptQuantity::NEfin, Waveform::Sine);
}

}  // namespace

BENCHMARK(BM_SweepCb500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SweepFrequency500Sine)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
