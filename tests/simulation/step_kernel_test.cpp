// The x87 kernel against the portable steps on random blocks: the constants of real circuits,
// perturbed, with states and inputs from ordinary magnitudes to beyond the double range and
// down into double subnormals, and faults that drop a step part way through a block.

#include "simulation/step_kernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "simulation/cross_check_circuits.h"

using namespace kovaro;

#if KOVARO_X87_KERNEL
namespace {

bool SameBits(Real a, Real b) { return std::memcmp(&a, &b, kRealValueBytes) == 0; }

// A real of random sign and mantissa with its binary exponent in [lo, hi].
Real RandomReal(std::mt19937_64& g, int32_t lo, int32_t hi) {
  const Real mantissa = static_cast<Real>(g() | (uint64_t{1} << 63)) * 0x1p-64L;
  const Real v = std::ldexp(mantissa, std::uniform_int_distribution<int32_t>(lo, hi)(g));
  return (g() & 1) != 0 ? -v : v;
}

struct Block {
  StepConstants c;
  std::vector<Real> t, u;
  std::vector<InputTerms> terms;
  std::vector<Sample> samples;
  Vector4 x{};
  std::array<StateMaximum, 4> maxima{};
  std::array<double, 4> thresholds{};
};

struct Outcome {
  int32_t made;
  Block after;
};

Outcome Steps(StepsFunction* steps, Block b) {
  const int32_t count = static_cast<int32_t>(b.t.size()) - 1;
  const int32_t made = steps(b.c, count, b.t.data(), b.u.data(), b.terms.data(), b.samples.data(), b.x,
                             b.maxima, b.thresholds);
  return {made, std::move(b)};
}

void ExpectSame(const Outcome& kernel, const Outcome& portable, int32_t trial) {
  ASSERT_EQ(kernel.made, portable.made) << "trial " << trial;
  const Block& k = kernel.after;
  const Block& p = portable.after;
  for (size_t i = 0; i < k.samples.size(); ++i) {
    for (int32_t ch = 0; ch < kChannelCount; ++ch)
      ASSERT_TRUE(SameBits(k.samples[i][ch], p.samples[i][ch])) << "trial " << trial << " sample " << i;
  }
  for (int32_t r = 0; r < 4; ++r) {
    ASSERT_TRUE(SameBits(k.x[r], p.x[r])) << "trial " << trial << " x" << r;
    ASSERT_TRUE(SameBits(k.maxima[r].Value, p.maxima[r].Value)) << "trial " << trial << " maximum " << r;
    ASSERT_TRUE(SameBits(k.maxima[r].Time, p.maxima[r].Time)) << "trial " << trial << " time " << r;
    ASSERT_EQ(std::memcmp(&k.thresholds[r], &p.thresholds[r], sizeof(double)), 0) << "trial " << trial;
  }
}

}  // namespace
#endif

TEST(StepKernel, EqualsThePortableStepsBitForBitOnRandomBlocks) {
#if !KOVARO_X87_KERNEL
  GTEST_SKIP() << "no x87 kernel on this processor";
#else
  std::vector<StepConstants> circuits;
  for (const auto& [name, elements] : CrossCheckCircuits()) {
    const auto buffers = std::make_unique<RunBuffers>();
    const SimulationSettings s;
    ASSERT_TRUE(QuietRun(elements, s, buffers->Target())) << name;
    circuits.push_back(MakeStepConstants(buffers->Engine, elements.Rin, s));
  }
  std::mt19937_64 g(21);
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  int32_t dropped = 0;
  for (int32_t trial = 0; trial < 3000; ++trial) {
    // Magnitudes: ordinary, beyond doubles (thresholds of 0), near double subnormals.
    const int32_t regime = trial % 3;
    const int32_t lo = regime == 0 ? -20 : regime == 1 ? 1030 : -1090;
    const int32_t hi = regime == 0 ? 20 : regime == 1 ? 8000 : -1000;
    Block b{circuits[trial % circuits.size()], {}, {}, {}, {}, {}, {}, {}};
    for (auto* row : {&b.c.a01, &b.c.a22, &b.c.a10, &b.c.a11, &b.c.a33, &b.c.p[1][2], &b.c.p[3][0]})
      *row *= 1 + RandomReal(g, -70, -30);
    b.c.rin = trial % 4 == 0 ? 0 : RandomReal(g, -4, 4);
    for (int32_t k = 0; k < kChannelCount; ++k) {
      b.c.scale[k] = static_cast<double>(RandomReal(g, -10, 10));
      b.c.offset[k] = trial % 5 == 0 ? 0.0 : static_cast<double>(RandomReal(g, -10, 10));
    }
    const int32_t count = 1 + static_cast<int32_t>(g() % 80);
    b.t.resize(count + 1);
    b.u.resize(count + 1);
    b.terms.resize(count + 1);
    b.samples.assign(count + 1, Sample{});
    for (int32_t i = 0; i <= count; ++i) {
      b.t[i] = i * RandomReal(g, -30, -20);
      b.u[i] = RandomReal(g, lo, hi);
    }
    for (Real& v : b.x) v = RandomReal(g, lo, hi);
    if (trial % 7 == 0) b.u[1 + g() % count] = nan;  // a fault part way
    if (trial % 11 == 0) b.x[g() % 4] = std::numeric_limits<Real>::max();
    if (trial % 2 == 0) {  // a run already under way
      for (int32_t r = 0; r < 4; ++r) {
        b.maxima[r] = {RandomReal(g, lo, hi), 1};
        const double below = static_cast<double>(std::fabs(b.maxima[r].Value) * 0.5L);
        b.thresholds[r] = std::isfinite(below) ? below : 0;
      }
    }
    MakeInputTerms(b.c, b.u.data(), count, trial % 9 == 0, b.terms.data());
    const Outcome kernel = Steps(X87Steps, b);
    const Outcome portable = Steps(PortableSteps, b);
    ExpectSame(kernel, portable, trial);
    if (kernel.made < count) ++dropped;
  }
  EXPECT_GT(dropped, 300);  // the faults were reached, not only ordinary steps
#endif
}
