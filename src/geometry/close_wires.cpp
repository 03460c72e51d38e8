#include "geometry/close_wires.h"

#include <cmath>

#include "shell/constants.h"

namespace kovaro {
namespace {

struct Row {
  Real ratio;  // pitch / wire diameter
  Real g;
};

constexpr Row kTable[] = {{1.005L, 28.76L}, {1.01L, 19.67L}, {1.02L, 13.23L}, {1.03L, 10.39L}, {1.05L, 7.54L},
                          {1.07L, 6.03L},   {1.1L, 4.70L},   {1.15L, 3.48L},  {1.2L, 2.76L},   {1.3L, 1.94L},
                          {1.4L, 1.47L},    {1.6L, 0.964L},  {1.8L, 0.691L},  {2.0L, 0.523L},  {2.5L, 0.303L},
                          {3.0L, 0.198L},   {4.0L, 0.104L},  {6.0L, 0.043L}};

}  // namespace

Real CloseWireFactor(Real x) {
  constexpr size_t last = sizeof(kTable) / sizeof(kTable[0]) - 1;
  if (x <= kTable[0].ratio) return kTable[0].g;
  if (x >= kTable[last].ratio) return 2 * kPi / (4 * x * x);  // r/p = 1 / (2x)
  size_t i = 0;
  while (x > kTable[i + 1].ratio) ++i;
  // Linear in ln g against ln(x - 1): the gap's logarithm.
  const Real u0 = std::log(kTable[i].ratio - 1);
  const Real u1 = std::log(kTable[i + 1].ratio - 1);
  const Real t = (std::log(x - 1) - u0) / (u1 - u0);
  return std::exp(std::log(kTable[i].g) + t * (std::log(kTable[i + 1].g) - std::log(kTable[i].g)));
}

}  // namespace kovaro
