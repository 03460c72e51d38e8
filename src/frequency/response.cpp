#include "frequency/response.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "shell/constants.h"
#include "shell/float_error.h"

namespace kovaro {
namespace {

using Matrix = Eigen::Matrix<Real, 4, 4>;
using ComplexMatrix = Eigen::Matrix<Complex, 4, 4>;
using ComplexVector = Eigen::Matrix<Complex, 4, 1>;

void RequireFinite(const Complex& z) {
  Ck(z.real());
  Ck(z.imag());
}

}  // namespace

Response FrequencyResponse(const CircuitSystem& c, Real f) {
  const Real w = Ck(kTwoPi * f);
  ComplexMatrix m;
  ComplexVector b;
  for (int32_t i = 0; i < 4; ++i) {
    for (int32_t j = 0; j < 4; ++j) m(i, j) = Complex(-c.A[i][j], i == j ? w : 0);
    b(i) = c.B[i];
  }
  const ComplexVector x = m.partialPivLu().solve(b);
  const Response r{x(StVCb), Complex(1) / x(StILa)};
  RequireFinite(r.gain);
  RequireFinite(r.impedance);
  return r;
}

Real Decibels(Complex g) { return 20 * std::log10(std::abs(g)); }

Real PhaseDegrees(Complex z) { return std::arg(z) * (180 / kPi); }

std::vector<Real> LogFrequencies(Real from, Real to, int32_t n) {
  std::vector<Real> f(n);
  const Real ratio = std::log(to / from);
  for (int32_t i = 0; i < n; ++i) f[i] = Ck(from * std::exp(ratio * i / (n - 1)));
  f[n - 1] = to;
  return f;
}

std::vector<Mode> NaturalModes(const CircuitSystem& c) {
  Matrix a;
  for (int32_t i = 0; i < 4; ++i)
    for (int32_t j = 0; j < 4; ++j) a(i, j) = c.A[i][j];
  const Eigen::EigenSolver<Matrix> solver(a, false);
  if (solver.info() != Eigen::Success) throw FloatError(kInvalidOperation);
  std::vector<Mode> pairs;
  std::vector<Mode> real;
  for (const Complex& lambda : solver.eigenvalues()) {
    RequireFinite(lambda);
    if (lambda.imag() > 0) {
      const Real magnitude = std::abs(lambda);
      const Real damping = -2 * lambda.real();
      pairs.push_back({true, magnitude / kTwoPi, damping == 0 ? INFINITY : magnitude / damping, 0});
    } else if (lambda.imag() == 0) {
      real.push_back({false, 0, 0, -1 / lambda.real()});
    }
  }
  std::sort(pairs.begin(), pairs.end(), [](const Mode& x, const Mode& y) { return x.f < y.f; });
  std::sort(real.begin(), real.end(), [](const Mode& x, const Mode& y) { return x.tau > y.tau; });
  pairs.insert(pairs.end(), real.begin(), real.end());
  return pairs;
}

}  // namespace kovaro
