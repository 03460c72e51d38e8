// The frequency response of the lossless coil with losses at 1000 logarithmic frequencies,
// as "Plot" computes it (modes and report included).

#include <benchmark/benchmark.h>

#include "frequency/frequency_plot.h"
#include "simulation/circuits.h"

using namespace kovaro;

namespace {

struct Silent : ReportLog {
  void LogLine(const std::string&) override {}
};

void BM_FrequencyPlot1000(benchmark::State& bench) {
  ElementSet e = LosslessCoil();
  e.RLb = 40;
  e.Rin = 0.3L;
  Silent log;
  for (auto _ : bench) benchmark::DoNotOptimize(PlotFrequencyResponse(e, false, {186000, 465000, 1000}, log));
}
BENCHMARK(BM_FrequencyPlot1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
