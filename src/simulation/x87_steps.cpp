#include <cstddef>

#include "simulation/step_kernel.h"

#if !KOVARO_X87_KERNEL || !defined(__x86_64__)
#error "The x87 kernel is built for x86-64 only; elsewhere the build takes the portable steps."
#endif

namespace kovaro {

static_assert(kRealIsX87, "The kernel loads and stores the x87 80-bit format");

// Operands of the assembly: the constants by their offsets (%c prints a constant bare), the
// arrays it walks by their element sizes, tied here to the types. Step i reads t, u and the
// input terms at the byte offset k = 16 i (the terms at 2 k), and writes the sample at s.
static_assert(sizeof(Real) == 16 && sizeof(InputTerms) == 32 && offsetof(InputTerms, y1) == 0);
static_assert(sizeof(Sample) == 96 && sizeof(StateMaximum) == 32 && offsetof(StateMaximum, Time) == 16);
#define C(field) "%c[" #field "](%[c])"
#define P(i, j) "%c[p]+" #i "*64+" #j "*16(%[c])"
#define SCALE(k) "%c[scale]+" #k "*8(%[c])"
#define OFFSET(k) "%c[offset]+" #k "*8(%[c])"
#define X(k) #k "*16(%[x])"
#define TIME "(%[t],%[k])"
#define NEXT_U "16(%[u],%[k])"
#define TERM_Y1 "(%[b],%[k],2)"
#define TERM_Y3 "%c[y3](%[b],%[k],2)"
#define THRESHOLD(k) #k "*8(%[th])"
#define MAXIMUM_VALUE(k) #k "*32(%[m])"
#define MAXIMUM_TIME(k) #k "*32+16(%[m])"

// The maximum of state variable k, whose z is st(Z) on the stack and st(ZT) under one more
// value. |z| > |maximum| takes z and the step's time. A double threshold at or below |maximum|
// (an 80-bit load is slow) passes only what may exceed it; the compare against it is
// unordered for a NaN, and an infinity exceeds every maximum: both drop the step. After an
// update the threshold is |z| (1 - 2^-40) rounded to a double, or 0 where that is above |z|
// (beyond the double range). The stack is left as it was.
#define MAXIMUM(k, Z, ZT) \
  "fldl " THRESHOLD(k) "\n\t"                 \
  "fld %%st(" #ZT ")\n\t"                     \
  "fabs\n\t"                                  \
  "fucomip %%st(1), %%st\n\t"                 \
  "fstp %%st(0)\n\t"                          \
  "jp 9f\n\t"                                 \
  "jbe 2f\n\t"                                \
  "fldt " MAXIMUM_VALUE(k) "\n\t"             \
  "fabs\n\t"                                  \
  "fld %%st(" #ZT ")\n\t"                     \
  "fabs\n\t"                                  \
  "fucomip %%st(1), %%st\n\t"                 \
  "fstp %%st(0)\n\t"                          \
  "jbe 2f\n\t"                                \
  "fld %%st(" #Z ")\n\t"                      \
  "fsub %%st(0), %%st\n\t"                    \
  "fucomip %%st(0), %%st\n\t"                 \
  "jp 9f\n\t"                                 \
  "fld %%st(" #Z ")\n\t"                      \
  "fstpt " MAXIMUM_VALUE(k) "\n\t"            \
  "fldt " TIME "\n\t"                           \
  "fstpt " MAXIMUM_TIME(k) "\n\t"             \
  "fld %%st(" #Z ")\n\t"                      \
  "fabs\n\t"                                  \
  "fmull " C(lower) "\n\t"                    \
  "fstpl " THRESHOLD(k) "\n\t"                \
  "fldl " THRESHOLD(k) "\n\t"                 \
  "fld %%st(" #ZT ")\n\t"                     \
  "fabs\n\t"                                  \
  "fucomip %%st(1), %%st\n\t"                 \
  "fstp %%st(0)\n\t"                          \
  "jae 2f\n\t"                                \
  "fldz\n\t"                                  \
  "fstpl " THRESHOLD(k) "\n\t"                \
  "2:\n\t"

// Channel k of the sample: the value on top times its scale plus its offset, popped.
#define STORE(k) \
  "fmull " SCALE(k) "\n\t" "faddl " OFFSET(k) "\n\t" "fstpt " #k "*16(%[s])\n\t"

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
  int64_t k = 0;
  asm volatile(
      "fldt " X(3) "\n\t"
      "fldt " X(2) "\n\t"
      "fldt " X(1) "\n\t"
      "fldt " X(0) "\n\t"  // x0 x1 x2 x3
      "1:\n\t"
      "cmp %[n], %[k]\n\t"
      "jge 8f\n\t"
      // y0, y2, and the first terms of y1 and y3
      "fldt " C(a01) "\n\t"
      "fmul %%st(2), %%st\n\t"
      "fmuls " C(half) "\n\t"
      "fadd %%st(1), %%st\n\t"  // y0 x0 x1 x2 x3
      "fldt " C(a22) "\n\t"
      "fmul %%st(4), %%st\n\t"
      "fmuls " C(half) "\n\t"
      "fadd %%st(4), %%st\n\t"  // s y0 x0 x1 x2 x3
      "fldt " C(a23) "\n\t"
      "fmul %%st(6), %%st\n\t"
      "fmuls " C(half) "\n\t"
      "faddp %%st, %%st(1)\n\t"  // y2 y0 x0 x1 x2 x3
      "fldt " C(a10) "\n\t"
      "fmul %%st(3), %%st\n\t"
      "fmuls " C(half) "\n\t"
      "fadd %%st(4), %%st\n\t"  // y1 y2 y0 x0 x1 x2 x3
      "fldt " C(a30) "\n\t"
      "fmulp %%st, %%st(4)\n\t"  // y1 y2 y0 a30x0 x1 x2 x3
      "fxch %%st(3)\n\t"
      "fmuls " C(half) "\n\t"
      "fadd %%st(6), %%st\n\t"  // y3 y2 y0 y1 x1 x2 x3
      // the x1 terms
      "fldt " C(a11) "\n\t"
      "fmul %%st(5), %%st\n\t"
      "fmuls " C(half) "\n\t"
      "faddp %%st, %%st(4)\n\t"
      "fldt " C(a31) "\n\t"
      "fmulp %%st, %%st(5)\n\t"  // y3 y2 y0 y1 a31x1 x2 x3
      "fxch %%st(4)\n\t"
      "fmuls " C(half) "\n\t"
      "faddp %%st, %%st(4)\n\t"  // y2 y0 y1 y3 x2 x3
      // the x2 terms
      "fldt " C(a12) "\n\t"
      "fmul %%st(5), %%st\n\t"
      "fmuls " C(half) "\n\t"
      "faddp %%st, %%st(3)\n\t"
      "fldt " C(a32) "\n\t"
      "fmulp %%st, %%st(5)\n\t"  // y2 y0 y1 y3 a32x2 x3
      "fxch %%st(4)\n\t"
      "fmuls " C(half) "\n\t"
      "faddp %%st, %%st(3)\n\t"  // y0 y1 y3 y2 x3
      // the x3 terms
      "fldt " C(a13) "\n\t"
      "fmul %%st(5), %%st\n\t"
      "fmuls " C(half) "\n\t"
      "faddp %%st, %%st(2)\n\t"
      "fldt " C(a33) "\n\t"
      "fmulp %%st, %%st(5)\n\t"  // y0 y1 y3 y2 a33x3
      "fxch %%st(4)\n\t"
      "fmuls " C(half) "\n\t"
      "faddp %%st, %%st(2)\n\t"  // y1 y3 y2 y0
      // the input terms
      "fldt " TERM_Y1 "\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt " TERM_Y3 "\n\t"
      "faddp %%st, %%st(2)\n\t"  // y1 y3 y2 y0
      // z0
      "fldt " P(0, 0) "\n\t"
      "fmul %%st(4), %%st\n\t"
      "fldt " P(0, 1) "\n\t"
      "fmul %%st(2), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt " P(0, 2) "\n\t"
      "fmul %%st(4), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt " P(0, 3) "\n\t"
      "fmul %%st(3), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"  // z0 y1 y3 y2 y0
      // z1
      "fldt " P(1, 0) "\n\t"
      "fmul %%st(5), %%st\n\t"
      "fldt " P(1, 1) "\n\t"
      "fmul %%st(3), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt " P(1, 2) "\n\t"
      "fmul %%st(5), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt " P(1, 3) "\n\t"
      "fmul %%st(4), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"  // z1 z0 y1 y3 y2 y0
      // z2
      "fldt " P(2, 0) "\n\t"
      "fmul %%st(6), %%st\n\t"
      "fldt " P(2, 1) "\n\t"
      "fmul %%st(4), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt " P(2, 2) "\n\t"
      "fmul %%st(6), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"
      "fldt " P(2, 3) "\n\t"
      "fmul %%st(5), %%st\n\t"
      "faddp %%st, %%st(1)\n\t"  // z2 z1 z0 y1 y3 y2 y0
      // z3, each y replaced by its product as it is used
      "fldt " P(3, 0) "\n\t"
      "fmulp %%st, %%st(7)\n\t"  // z2 z1 z0 y1 y3 y2 p30y0
      "fldt " P(3, 1) "\n\t"
      "fmulp %%st, %%st(4)\n\t"  // z2 z1 z0 p31y1 y3 y2 p30y0
      "fxch %%st(6)\n\t"
      "faddp %%st, %%st(3)\n\t"  // z1 z0 s y3 y2 z2
      "fldt " P(3, 2) "\n\t"
      "fmulp %%st, %%st(5)\n\t"  // z1 z0 s y3 p32y2 z2
      "fxch %%st(4)\n\t"
      "faddp %%st, %%st(2)\n\t"  // z0 s y3 z1 z2
      "fldt " P(3, 3) "\n\t"
      "fmulp %%st, %%st(3)\n\t"  // z0 s p33y3 z1 z2
      "fxch %%st(2)\n\t"
      "faddp %%st, %%st(1)\n\t"  // z3 z0 z1 z2
      // vin and vla
      "fldt " C(rin) "\n\t"
      "fmul %%st(3), %%st\n\t"  // r z3 z0 z1 z2
      "fldt " NEXT_U "\n\t"
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
      // the maxima, the stack as above
      MAXIMUM(0, 3, 4)
      MAXIMUM(1, 4, 5)
      MAXIMUM(2, 5, 6)
      MAXIMUM(3, 2, 3)
      // the scaled channels
      STORE(0)  // vla z3 z0 z1 z2
      STORE(5)  // z3 z0 z1 z2
      "fld %%st(1)\n\t"
      STORE(1)
      "fld %%st(2)\n\t"
      STORE(2)
      "fld %%st(3)\n\t"
      STORE(3)
      "fld %%st(0)\n\t"
      STORE(4)
      "fxch %%st(3)\n\t"
      "fxch %%st(2)\n\t"
      "fxch %%st(1)\n\t"  // z0 z1 z2 z3: the next step's x
      "add $16, %[k]\n\t"
      "add $96, %[s]\n\t"
      "jmp 1b\n\t"
      "9:\n\t"  // a value is not finite: drop the step, x as it came in
      "fstp %%st(0)\n\t"
      "fstp %%st(0)\n\t"
      "fstp %%st(0)\n\t"
      "fstp %%st(0)\n\t"
      "fstp %%st(0)\n\t"
      "fstp %%st(0)\n\t"
      "jmp 7f\n\t"
      "8:\n\t"
      "fstpt " X(0) "\n\t"
      "fstpt " X(1) "\n\t"
      "fstpt " X(2) "\n\t"
      "fstpt " X(3) "\n\t"
      "7:\n\t"
      : [k] "+r"(k), [s] "+r"(samples)
      : [t] "r"(t), [u] "r"(u), [b] "r"(input), [n] "r"(static_cast<int64_t>(count) * 16), [c] "r"(&c), [x] "r"(x.data()), [m] "r"(maxima.data()), [th] "r"(thresholds.data()),
        [a01] "i"(offsetof(StepConstants, a01)), [a22] "i"(offsetof(StepConstants, a22)),
        [a23] "i"(offsetof(StepConstants, a23)), [a10] "i"(offsetof(StepConstants, a10)),
        [a30] "i"(offsetof(StepConstants, a30)), [a11] "i"(offsetof(StepConstants, a11)),
        [a31] "i"(offsetof(StepConstants, a31)), [a12] "i"(offsetof(StepConstants, a12)),
        [a32] "i"(offsetof(StepConstants, a32)), [a13] "i"(offsetof(StepConstants, a13)),
        [a33] "i"(offsetof(StepConstants, a33)), [p] "i"(offsetof(StepConstants, p)),
        [rin] "i"(offsetof(StepConstants, rin)), [scale] "i"(offsetof(StepConstants, scale)),
        [offset] "i"(offsetof(StepConstants, offset)), [half] "i"(offsetof(StepConstants, half)),
        [lower] "i"(offsetof(StepConstants, lower)), [y3] "i"(offsetof(InputTerms, y3))
      : "cc", "memory", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
  return static_cast<int32_t>(k / 16);
}

}  // namespace kovaro
