#include "simulation/fused_trapezoid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "shell/float_error.h"
#include "simulation/plain_steps.h"
#include "simulation/step_kernel.h"

namespace kovaro {
namespace {

constexpr int32_t kBlock = 128;  // steps whose times and driver values are prepared together

struct Block {
  int32_t steps = 0;      // fewer than asked where the driver stops depending on the time alone
  bool faulted = false;   // computing a time or a value faults
  bool constant = false;  // the driver holds u[0] throughout
};

// The square waves' values u[lo+1..hi] after the known u[lo]: ranges whose ends have one
// half-period count hold one value, so only the edges are searched for.
void FillSquareWave(Driver& driver, const Real* t, Real* u, int32_t lo, int32_t hi) {
  if (driver.ConstantBetween(t[lo], t[hi])) {
    for (int32_t i = lo + 1; i <= hi; ++i) std::memcpy(&u[i], &u[lo], sizeof(Real));  // no 80-bit stores
    return;
  }
  if (hi - lo == 1) {
    u[hi] = driver.TimeValue(t[hi]);
    return;
  }
  const int32_t middle = lo + (hi - lo) / 2;
  FillSquareWave(driver, t, u, lo, middle);
  FillSquareWave(driver, t, u, middle, hi);
}

// The times t[1..count] after t[0] and the driver's values u[1..count] at them, for a block of
// steps over which the driver depends on the time alone. Where this faults, the plain run
// faults too, at a step after those already taken.
Block PrepareBlock(int32_t first, int32_t count, Real h, Driver& driver, SineCache& cache, Real* t, Real* u) {
  for (int32_t i = 1; i <= count; ++i) t[i] = t[i - 1] + h;
  if (!IsFinite(t[count])) return Block{0, true};  // the times rise: an infinity comes last
  // Once the driver depends on more than the time it does so later too.
  while (count > 0 && !driver.DependsOnTimeAlone(t[count])) --count;
  try {
    if (count == 0) return Block{};
    if (driver.IsSquareWave()) {
      const bool constant = driver.ConstantBetween(t[0], t[count]);
      FillSquareWave(driver, t, u, 0, count);
      return Block{count, false, constant};
    }
    cache.Values(first, t + 1, count, u + 1, driver);
  } catch (const FloatError&) {
    return Block{0, true};
  }
  return Block{count};
}

}  // namespace

bool FusedTrapezoidalRun(int32_t n, const SimulationSettings& s, Real rin, Driver& driver, SineCache& cache,
                         WaveformStore& store, EngineValues& ev) {
  const Real h = ev.StepLength;
  if (!(h > 0) || !ScalingIsDouble(s)) return false;
  cache.Begin(s);
  for (int32_t c = 0; c < kChannelCount; ++c)
    store.Channels[0][c] = store.Channels[0][c] * s.Scale[c] + s.Offset[c];

  Real t[kBlock + 1];
  Real u[kBlock + 1];
  InputTerms input[kBlock];
  t[0] = ev.t;
  if (!driver.DependsOnTimeAlone(t[0])) return false;
  try {
    u[0] = cache.Value(0, t[0], driver);
  } catch (const FloatError&) {
    return false;
  }
  const StepConstants constants = MakeStepConstants(ev, rin, s);
  Vector4 x{};
  const std::array<StateMaximum, 4>& maxima = ev.StateMaxima;
  std::array<double, 4> thresholds{};
  Real u_largest = std::fabs(u[0]);
  // The last step is left to the plain loop, which keeps the final values of its sums.
  int32_t k = 1;
  while (k < n - 1) {
    const int32_t asked = std::min(kBlock, n - 1 - k);
    const Block block = PrepareBlock(k, asked, h, driver, cache, t, u);
    const int32_t count = block.steps;
    if (block.faulted) return false;
    if (count == 0) break;
    u_largest = std::max(u_largest, MakeInputTerms(constants, u, count, block.constant, input));
    if (KernelSteps(constants, count, t, u, input, &store.Channels[k], x, ev.StateMaxima, thresholds) <
        count) {
      return false;
    }
    // The block's times, copied as bytes (cheaper than 80-bit loads and stores).
    std::memcpy(&store.Time[k], t, sizeof(Real) * static_cast<size_t>(count));
    k += count;
    t[0] = t[count];
    u[0] = u[count];
    driver.FeedbackCurrent = x[1];
    driver.LastDriverOutput = u[0];
    if (count < asked) break;  // the driver depends on more than the time from here
  }
  // Bounds of |Vin| and |VLa| in the fused steps: |a - b| <= |a| + |b|, and rounding is
  // monotone, so the same operations on the bounds bound the rounded values.
  const Real rin_ila = std::fabs(rin) * std::fabs(maxima[1].Value);
  const Real vin_bound = u_largest + rin_ila;
  const Real vla_bound = (vin_bound + std::fabs(maxima[0].Value)) + rin_ila;
  ev.x = x;
  ev.t = t[0];
  const int32_t fused = k;
  StepWriter writer(store, ev, driver, rin, h);
  try {
    TrapezoidalSteps(k, n, driver, writer, ev);
  } catch (const FloatError&) {
    return false;
  }
  return ScaleSafely(fused, n, s, ev, vin_bound, vla_bound, store);
}

}  // namespace kovaro
