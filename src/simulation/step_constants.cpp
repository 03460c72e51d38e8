#include <algorithm>
#include <cmath>
#include <cstring>

#include "simulation/step_kernel.h"

namespace kovaro {
namespace {

// Through memory: GCC keeps a converted value in an x87 register at full precision.
bool IsDouble(Real v) {
  volatile double d = static_cast<double>(v);
  return d == v;
}

}  // namespace

bool ScalingIsDouble(const SimulationSettings& s) {
  for (int32_t k = 0; k < kChannelCount; ++k) {
    if (!IsDouble(s.Scale[k]) || !IsDouble(s.Offset[k])) return false;
  }
  return true;  // a -0 converts to -0
}

StepConstants MakeStepConstants(const EngineValues& ev, Real rin, const SimulationSettings& s) {
  const Matrix4& a = ev.SystemMatrix;
  StepConstants c{a[0][1],           a[2][2], a[2][3], a[1][0], a[3][0], a[1][1],
                  a[3][1],           a[1][2], a[3][2], a[1][3], a[3][3], ev.InputVector[1],
                  ev.InputVector[3], {},      rin,     {},      {}};
  for (int32_t i = 0; i < 4; ++i) {
    for (int32_t j = 0; j < 4; ++j) c.p[i][j] = ev.TrapezoidMatrix[i][j];
  }
  for (int32_t k = 0; k < kChannelCount; ++k) {
    c.scale[k] = static_cast<double>(s.Scale[k]);
    c.offset[k] = static_cast<double>(s.Offset[k]);
  }
  return c;
}

Real MakeInputTerms(const StepConstants& c, const Real* u, int32_t count, bool constant, InputTerms* terms) {
  // Values held in locals: the stores to `terms` would otherwise reload them.
  const Real b1 = c.b1;
  const Real b3 = c.b3;
  Real previous = u[0];
  Real largest = std::fabs(u[1]);
  for (int32_t i = 0; i < (constant ? 1 : count); ++i) {
    const Real next = u[i + 1];
    const Real sum = previous + next;
    terms[i] = {(b1 * sum) * 0.5L, (b3 * sum) * 0.5L};
    largest = std::max(largest, std::fabs(next));
    previous = next;
  }
  for (int32_t i = 1; constant && i < count; ++i)
    std::memcpy(&terms[i], &terms[0], sizeof(InputTerms));  // no 80-bit stores
  return largest;
}

}  // namespace kovaro
