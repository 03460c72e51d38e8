#include <cmath>

#include "simulation/step_kernel.h"

namespace kovaro {
namespace {

// A maximum's threshold is a double at or below |maximum|, so that most steps compare two
// doubles' worth: |z| (1 - 2^-40) rounded to a double, or 0 where that is not at or below |z|
// (beyond the double range, where the product rounds to infinity).
double Threshold(Real magnitude, double lower) {
  const double t = static_cast<double>(magnitude * lower);
  return magnitude >= t ? t : 0;
}

// Takes z and the step's time where |z| exceeds the maximum; false where z is not finite
// (a NaN is unordered with the threshold, an infinity exceeds every maximum).
bool UpdateMaximum(Real z, Real time, double lower, StateMaximum& m, double& threshold) {
  const Real magnitude = std::fabs(z);
  if (std::isunordered(magnitude, threshold)) return false;
  if (!(magnitude > threshold) || !(magnitude > std::fabs(m.Value))) return true;
  if (!std::isfinite(z)) return false;
  m.Value = z;
  m.Time = time;
  threshold = Threshold(magnitude, lower);
  return true;
}

}  // namespace

// The plain step's sums (plain_steps.cpp), with the input terms made before; the x87 kernel
// does the same operations in the same order.
int32_t PortableSteps(const StepConstants& c, int32_t count, const Real* t, const Real* u,
                      const InputTerms* input, Sample* samples, Vector4& x,
                      std::array<StateMaximum, 4>& maxima, std::array<double, 4>& thresholds) {
  const Real half = c.half;
  Real x0 = x[0];
  Real x1 = x[1];
  Real x2 = x[2];
  Real x3 = x[3];
  for (int32_t i = 0; i < count; ++i) {
    const Real y0 = x0 + (c.a01 * x1) * half;
    const Real y1 = x1 + (c.a10 * x0) * half + (c.a11 * x1) * half + (c.a12 * x2) * half +
                    (c.a13 * x3) * half + input[i].y1;
    const Real y2 = x2 + (c.a22 * x2) * half + (c.a23 * x3) * half;
    const Real y3 = x3 + (c.a30 * x0) * half + (c.a31 * x1) * half + (c.a32 * x2) * half +
                    (c.a33 * x3) * half + input[i].y3;
    Real z[4];
    for (int32_t r = 0; r < 4; ++r) z[r] = c.p[r][0] * y0 + c.p[r][1] * y1 + c.p[r][2] * y2 + c.p[r][3] * y3;
    const Real rin_ila = c.rin * z[1];
    const Real vin = u[i + 1] - rin_ila;
    const Real vla = (vin - z[0]) - rin_ila;
    if (!std::isfinite(vla)) return i;
    for (int32_t r = 0; r < 4; ++r) {
      if (!UpdateMaximum(z[r], t[i], c.lower, maxima[r], thresholds[r])) return i;
    }
    Sample& s = samples[i];
    s[Vin] = vin * c.scale[Vin] + c.offset[Vin];
    for (int32_t r = 0; r < 4; ++r) s[r + 1] = z[r] * c.scale[r + 1] + c.offset[r + 1];
    s[VLa] = vla * c.scale[VLa] + c.offset[VLa];
    x0 = z[0];
    x1 = z[1];
    x2 = z[2];
    x3 = z[3];
  }
  x = {x0, x1, x2, x3};
  return count;
}

}  // namespace kovaro
