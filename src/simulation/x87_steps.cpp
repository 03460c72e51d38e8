#include "simulation/x87_steps.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#if !defined(__x86_64__)
#error "The trapezoidal step is written for the x87 unit of x86-64, where Real is its 80-bit format."
#endif

namespace kovaro {

// The assembly below addresses the constants by these offsets.
static_assert(sizeof(Real) == 16 && sizeof(Sample) == 96 && sizeof(StateMaximum) == 32);
static_assert(offsetof(StepConstants, a33) == 160 && offsetof(StepConstants, b3) == 192);
static_assert(offsetof(StepConstants, p) == 208 && offsetof(StepConstants, rin) == 464);
static_assert(offsetof(StepConstants, scale) == 480 && offsetof(StepConstants, offset) == 528);
static_assert(offsetof(StepConstants, half) == 576 && offsetof(StepConstants, lower) == 584);

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

// The step, with the x87 stack after each line (top first). Its sums, in the plain step's order:
//   y0 = x0 + (a01 x1)/2                 y2 = (x2 + (a22 x2)/2) + (a23 x3)/2
//   y1 = x1 + (a10 x0)/2 + (a11 x1)/2 + (a12 x2)/2 + (a13 x3)/2 + (b1 (u0 + u1))/2
//   y3 = x3 + (a30 x0)/2 + (a31 x1)/2 + (a32 x2)/2 + (a33 x3)/2 + (b3 (u0 + u1))/2
// (the input terms made before),
//   zi = ((pi0 y0 + pi1 y1) + pi2 y2) + pi3 y3
//   vin = u1 - rin z1                    vla = (vin - z0) - rin z1
// halving by a product with 0.5, and each channel stored as value * scale + offset. Operands
// of a sum or product are swapped where that saves an exchange: both are commutative.
int32_t X87Steps(const StepConstants& c, int32_t count, const Real* t, const Real* u, const InputTerms* input,
                 Sample* samples, Vector4& x, std::array<StateMaximum, 4>& maxima,
                 std::array<double, 4>& thresholds) {
  int32_t done = 0;
  asm volatile(
      "fldt 48(%[x])\n\t"
      "fldt 32(%[x])\n\t"
      "fldt 16(%[x])\n\t"
      "fldt (%[x])\n\t"  // x0 x1 x2 x3
      "1:\n\t"
      "cmp %[n], %[i]\n\t"
      "jge 8f\n\t"
      // y0, y2, and the first terms of y1 and y3
      "fldt 0(%[c])\n\t"
      "fmul %%st(2), %%st\n\t"
      "fmuls 576(%[c])\n\t"
      "fadd %%st(1), %%st\n\t"  // y0 x0 x1 x2 x3
      "fldt 16(%[c])\n\t"
      "fmul %%st(4), %%st\n\t"
      "fmuls 576(%[c])\n\t"
      "fadd %%st(4), %%st\n\t"  // s y0 x0 x1 x2 x3
      "fldt 32(%[c])\n\t"
      "fmul %%st(6), %%st\n\t"
      "fmuls 576(%[c])\n\t"
      "faddp %%st, %%st(1)\n\t"  // y2 y0 x0 x1 x2 x3
      "fldt 48(%[c])\n\t"
      "fmul %%st(3), %%st\n\t"
      "fmuls 576(%[c])\n\t"
      "fadd %%st(4), %%st\n\t"  // y1 y2 y0 x0 x1 x2 x3
      "fldt 64(%[c])\n\t"
      "fmulp %%st, %%st(4)\n\t"  // y1 y2 y0 a30x0 x1 x2 x3
      "fxch %%st(3)\n\t"
      "fmuls 576(%[c])\n\t"
      "fadd %%st(6), %%st\n\t"  // y3 y2 y0 y1 x1 x2 x3
      // the x1 terms
      "fldt 80(%[c])\n\t"
      "fmul %%st(5), %%st\n\t"
      "fmuls 576(%[c])\n\t"
      "faddp %%st, %%st(4)\n\t"
      "fldt 96(%[c])\n\t"
      "fmulp %%st, %%st(5)\n\t"  // y3 y2 y0 y1 a31x1 x2 x3
      "fxch %%st(4)\n\t"
      "fmuls 576(%[c])\n\t"
      "faddp %%st, %%st(4)\n\t"  // y2 y0 y1 y3 x2 x3
      // the x2 terms
      "fldt 112(%[c])\n\t"
      "fmul %%st(5), %%st\n\t"
      "fmuls 576(%[c])\n\t"
      "faddp %%st, %%st(3)\n\t"
      "fldt 128(%[c])\n\t"
      "fmulp %%st, %%st(5)\n\t"  // y2 y0 y1 y3 a32x2 x3
      "fxch %%st(4)\n\t"
      "fmuls 576(%[c])\n\t"
      "faddp %%st, %%st(3)\n\t"  // y0 y1 y3 y2 x3
      // the x3 terms
      "fldt 144(%[c])\n\t"
      "fmul %%st(5), %%st\n\t"
      "fmuls 576(%[c])\n\t"
      "faddp %%st, %%st(2)\n\t"
      "fldt 160(%[c])\n\t"
      "fmulp %%st, %%st(5)\n\t"  // y0 y1 y3 y2 a33x3
      "fxch %%st(4)\n\t"
      "fmuls 576(%[c])\n\t"
      "faddp %%st, %%st(2)\n\t"  // y1 y3 y2 y0
      // the input terms
      "fldt (%[b])\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt 16(%[b])\n\t"
      "faddp %%st, %%st(2)\n\t"  // y1 y3 y2 y0
      // z0
      "fldt 208(%[c])\n\t"
      "fmul %%st(4), %%st\n\t"
      "fldt 224(%[c])\n\t"
      "fmul %%st(2), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt 240(%[c])\n\t"
      "fmul %%st(4), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt 256(%[c])\n\t"
      "fmul %%st(3), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"  // z0 y1 y3 y2 y0
      // z1
      "fldt 272(%[c])\n\t"
      "fmul %%st(5), %%st\n\t"
      "fldt 288(%[c])\n\t"
      "fmul %%st(3), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt 304(%[c])\n\t"
      "fmul %%st(5), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt 320(%[c])\n\t"
      "fmul %%st(4), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"  // z1 z0 y1 y3 y2 y0
      // z2
      "fldt 336(%[c])\n\t"
      "fmul %%st(6), %%st\n\t"
      "fldt 352(%[c])\n\t"
      "fmul %%st(4), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt 368(%[c])\n\t"
      "fmul %%st(6), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt 384(%[c])\n\t"
      "fmul %%st(5), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"  // z2 z1 z0 y1 y3 y2 y0
      // z3, each y replaced by its product as it is used
      "fldt 400(%[c])\n\t"
      "fmulp %%st, %%st(7)\n\t"  // z2 z1 z0 y1 y3 y2 p30y0
      "fldt 416(%[c])\n\t"
      "fmulp %%st, %%st(4)\n\t"  // z2 z1 z0 p31y1 y3 y2 p30y0
      "fxch %%st(6)\n\t"
      "faddp %%st, %%st(3)\n\t"  // z1 z0 s y3 y2 z2
      "fldt 432(%[c])\n\t"
      "fmulp %%st, %%st(5)\n\t"  // z1 z0 s y3 p32y2 z2
      "fxch %%st(4)\n\t"
      "faddp %%st, %%st(2)\n\t"  // z0 s y3 z1 z2
      "fldt 448(%[c])\n\t"
      "fmulp %%st, %%st(3)\n\t"  // z0 s p33y3 z1 z2
      "fxch %%st(2)\n\t"
      "faddp %%st, %%st(1)\n\t"  // z3 z0 z1 z2
      // vin and vla
      "fldt 464(%[c])\n\t"
      "fmul %%st(3), %%st\n\t"  // r z3 z0 z1 z2
      "fldt 16(%[u])\n\t"
      "fsub %%st(1), %%st\n\t"  // vin r z3 z0 z1 z2
      "fld %%st(0)\n\t"
      "fsub %%st(4), %%st\n\t"
      "fsub %%st(2), %%st\n\t"  // vla vin r z3 z0 z1 z2
      "fstp %%st(2)\n\t"        // vin vla z3 z0 z1 z2
      // vla is NaN or infinite where one of z0, z1 and vla is not finite
      "fld %%st(1)\n\t"
      "fsub %%st(0), %%st\n\t"
      "fucomip %%st(0), %%st\n\t"
      "jp 9f\n\t"  // vin vla z3 z0 z1 z2
      // The maxima: |z| > |maximum| takes z and the step's time. A double threshold at or
      // below |maximum| (an 80-bit load is slow) passes only what may exceed it; the compare
      // against it is unordered for a NaN, and an infinity exceeds every maximum: both fault.
      // After an update the threshold is |z| (1 - 2^-40) rounded to a double, or 0 where that
      // is not below |z| (beyond the double range).
      "fldl 0(%[th])\n\t"
      "fld %%st(4)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jp 9f\n\t"
      "jbe 2f\n\t"
      "fldt 0(%[m])\n\t"
      "fabs\n\t"
      "fld %%st(4)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jbe 2f\n\t"
      "fld %%st(3)\n\t"
      "fsub %%st(0), %%st\n\t"
      "fucomip %%st(0), %%st\n\t"
      "jp 9f\n\t"
      "fld %%st(3)\n\t"
      "fstpt 0(%[m])\n\t"
      "fldt (%[t])\n\t"
      "fstpt 16(%[m])\n\t"
      "fld %%st(3)\n\t"
      "fabs\n\t"
      "fmull 584(%[c])\n\t"
      "fstpl 0(%[th])\n\t"
      "fldl 0(%[th])\n\t"
      "fld %%st(4)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jae 2f\n\t"
      "fldz\n\t"
      "fstpl 0(%[th])\n\t"
      "2:\n\t"
      "fldl 8(%[th])\n\t"
      "fld %%st(5)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jp 9f\n\t"
      "jbe 3f\n\t"
      "fldt 32(%[m])\n\t"
      "fabs\n\t"
      "fld %%st(5)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jbe 3f\n\t"
      "fld %%st(4)\n\t"
      "fsub %%st(0), %%st\n\t"
      "fucomip %%st(0), %%st\n\t"
      "jp 9f\n\t"
      "fld %%st(4)\n\t"
      "fstpt 32(%[m])\n\t"
      "fldt (%[t])\n\t"
      "fstpt 48(%[m])\n\t"
      "fld %%st(4)\n\t"
      "fabs\n\t"
      "fmull 584(%[c])\n\t"
      "fstpl 8(%[th])\n\t"
      "fldl 8(%[th])\n\t"
      "fld %%st(5)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jae 3f\n\t"
      "fldz\n\t"
      "fstpl 8(%[th])\n\t"
      "3:\n\t"
      "fldl 16(%[th])\n\t"
      "fld %%st(6)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jp 9f\n\t"
      "jbe 4f\n\t"
      "fldt 64(%[m])\n\t"
      "fabs\n\t"
      "fld %%st(6)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jbe 4f\n\t"
      "fld %%st(5)\n\t"
      "fsub %%st(0), %%st\n\t"
      "fucomip %%st(0), %%st\n\t"
      "jp 9f\n\t"
      "fld %%st(5)\n\t"
      "fstpt 64(%[m])\n\t"
      "fldt (%[t])\n\t"
      "fstpt 80(%[m])\n\t"
      "fld %%st(5)\n\t"
      "fabs\n\t"
      "fmull 584(%[c])\n\t"
      "fstpl 16(%[th])\n\t"
      "fldl 16(%[th])\n\t"
      "fld %%st(6)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jae 4f\n\t"
      "fldz\n\t"
      "fstpl 16(%[th])\n\t"
      "4:\n\t"
      "fldl 24(%[th])\n\t"
      "fld %%st(3)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jp 9f\n\t"
      "jbe 5f\n\t"
      "fldt 96(%[m])\n\t"
      "fabs\n\t"
      "fld %%st(3)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jbe 5f\n\t"
      "fld %%st(2)\n\t"
      "fsub %%st(0), %%st\n\t"
      "fucomip %%st(0), %%st\n\t"
      "jp 9f\n\t"
      "fld %%st(2)\n\t"
      "fstpt 96(%[m])\n\t"
      "fldt (%[t])\n\t"
      "fstpt 112(%[m])\n\t"
      "fld %%st(2)\n\t"
      "fabs\n\t"
      "fmull 584(%[c])\n\t"
      "fstpl 24(%[th])\n\t"
      "fldl 24(%[th])\n\t"
      "fld %%st(3)\n\t"
      "fabs\n\t"
      "fucomip %%st(1), %%st\n\t"
      "fstp %%st(0)\n\t"
      "jae 5f\n\t"
      "fldz\n\t"
      "fstpl 24(%[th])\n\t"
      "5:\n\t"
      // the scaled channels
      "fmull 480(%[c])\n\t"
      "faddl 528(%[c])\n\t"
      "fstpt (%[s])\n\t"  // vla z3 z0 z1 z2
      "fmull 520(%[c])\n\t"
      "faddl 568(%[c])\n\t"
      "fstpt 80(%[s])\n\t"  // z3 z0 z1 z2
      "fld %%st(1)\n\t"
      "fmull 488(%[c])\n\t"
      "faddl 536(%[c])\n\t"
      "fstpt 16(%[s])\n\t"
      "fld %%st(2)\n\t"
      "fmull 496(%[c])\n\t"
      "faddl 544(%[c])\n\t"
      "fstpt 32(%[s])\n\t"
      "fld %%st(3)\n\t"
      "fmull 504(%[c])\n\t"
      "faddl 552(%[c])\n\t"
      "fstpt 48(%[s])\n\t"
      "fld %%st(0)\n\t"
      "fmull 512(%[c])\n\t"
      "faddl 560(%[c])\n\t"
      "fstpt 64(%[s])\n\t"
      "fxch %%st(3)\n\t"
      "fxch %%st(2)\n\t"
      "fxch %%st(1)\n\t"  // z0 z1 z2 z3: the next step's x
      "add $16, %[t]\n\t"
      "add $16, %[u]\n\t"
      "add $32, %[b]\n\t"
      "add $96, %[s]\n\t"
      "inc %[i]\n\t"
      "jmp 1b\n\t"
      "9:\n\t"  // a value is not finite: drop the step
      "fstp %%st(0)\n\t"
      "fstp %%st(0)\n\t"
      "fstp %%st(0)\n\t"
      "fstp %%st(0)\n\t"
      "fstp %%st(0)\n\t"
      "fstp %%st(0)\n\t"
      "jmp 7f\n\t"
      "8:\n\t"
      "fstpt (%[x])\n\t"
      "fstpt 16(%[x])\n\t"
      "fstpt 32(%[x])\n\t"
      "fstpt 48(%[x])\n\t"
      "7:\n\t"
      : [i] "+r"(done), [t] "+r"(t), [u] "+r"(u), [b] "+r"(input), [s] "+r"(samples)
      : [n] "r"(count), [c] "r"(&c), [x] "r"(x.data()), [m] "r"(maxima.data()), [th] "r"(thresholds.data())
      : "cc", "memory", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
  return done;
}

}  // namespace kovaro
