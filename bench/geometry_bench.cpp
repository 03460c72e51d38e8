// "Calculate" of the coil geometry window: a 1500-turn secondary with the default toroid, its
// field solve, and a 12-turn flat primary, 18000 filament pairs for the coupling; and "Find
// primary" on the same coil and on the largest the window takes.

#include <benchmark/benchmark.h>

#include "geometry/coil_geometry.h"

using namespace kovaro;

namespace {

struct Silent : ReportLog {
  void LogLine(const std::string&) override {}
};

CoilGeometry Coil() {
  CoilGeometry g;
  g.secondary = {0.2L, 1.0L, 1500, 0.0006L, 0.5L};
  g.primary.turns = 12;
  return g;
}

void BM_GeometryCalculate(benchmark::State& bench) {
  const CoilGeometry g = Coil();
  Silent log;
  for (auto _ : bench) benchmark::DoNotOptimize(CalculateGeometry(g, 5.07e-9L, true, log));
}
BENCHMARK(BM_GeometryCalculate)->Unit(benchmark::kMillisecond);

void BM_GeometryFindPrimary(benchmark::State& bench) {
  const CoilGeometry g = Coil();
  ElementSet target;
  target.La = 100e-6L;
  target.kab = 0.12L;
  Silent log;
  for (auto _ : bench) benchmark::DoNotOptimize(FindPrimary(g, target, log));
}
BENCHMARK(BM_GeometryFindPrimary)->Unit(benchmark::kMillisecond);

// The largest coil the window takes: 10000 secondary turns and a 100-turn primary, a million
// filament pairs in each coupling. The target is what 99.5 turns at 5 cm give.
void BM_GeometryFindPrimaryLargest(benchmark::State& bench) {
  CoilGeometry g;
  g.secondary = {0.2L, 0.68L, 10000, 0.00005L, 0.5L};
  g.primary.turns = 99.5L;
  g.primary.height = 0.05L;
  const GeometryResult reached = ComputeGeometry(g);
  g.primary.turns = 100;
  g.primary.height = 0;
  ElementSet target;
  target.La = reached.La;
  target.kab = reached.kab;
  Silent log;
  for (auto _ : bench) benchmark::DoNotOptimize(FindPrimary(g, target, log));
}
BENCHMARK(BM_GeometryFindPrimaryLargest)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
