#include "geometry/solenoid.h"

#include <cmath>

#include "geometry/elliptic.h"
#include "geometry/filament.h"
#include "shell/float_error.h"

namespace kovaro {

Real NagaokaCoefficient(Real D, Real l) {
  const Real diagonal = std::sqrt(D * D + l * l);
  const Real k = D / diagonal;
  const Real kc = l / diagonal;
  const Elliptic e = CompleteElliptic(k, kc);
  // (kc^2/k^2)(K - E) with K - E = K (k^2/2 + S), free of the cancellation of K - E.
  const Real sheet = kc * kc * e.K * (0.5L + e.S / (k * k));
  return 4 / (3 * kPi * kc) * (sheet + e.E - k);
}

Real CurrentSheetInductance(const Secondary& s) {
  const Real a = s.diameter / 2;
  return Ck(kMu0 * kPi * a * a * s.turns * s.turns / s.height * NagaokaCoefficient(s.diameter, s.height));
}

Real SecondaryInductance(const Secondary& s) {
  // Rosa: the self-inductance correction for a uniform current in round wire, and the
  // mutual correction (the asymptotic series in the number of turns).
  const Real N = s.turns;
  const Real pitch = s.height / N;
  const Real ks = 1.25L - std::log(2 * pitch / s.wire);
  const Real km = std::log(2 * kPi) - 1.5L - std::log(N) / (6 * N) - 0.33084236L / N - 1 / (120 * N * N * N) +
                  1 / (504 * std::pow(N, 5)) - 0.0011923L / std::pow(N, 7) + 0.0005068L / std::pow(N, 9);
  return Ck(CurrentSheetInductance(s) - kMu0 * (s.diameter / 2) * N * (ks + km));
}

namespace {

struct MedhurstRow {
  Real ratio;  // l/D
  Real H;      // pF per cm of diameter
};

constexpr MedhurstRow kMedhurst[] = {
    {0.10L, 0.96L}, {0.15L, 0.79L}, {0.20L, 0.70L}, {0.25L, 0.64L}, {0.30L, 0.60L}, {0.35L, 0.57L},
    {0.40L, 0.54L}, {0.45L, 0.52L}, {0.50L, 0.50L}, {0.60L, 0.48L}, {0.70L, 0.47L}, {0.80L, 0.46L},
    {0.90L, 0.46L}, {1.0L, 0.46L},  {1.5L, 0.47L},  {2.0L, 0.50L},  {2.5L, 0.56L},  {3.0L, 0.61L},
    {3.5L, 0.67L},  {4.0L, 0.72L},  {4.5L, 0.77L},  {5.0L, 0.81L},  {6.0L, 0.92L},  {7.0L, 1.01L},
    {8.0L, 1.12L},  {9.0L, 1.22L},  {10L, 1.32L},   {15L, 1.86L},   {20L, 2.36L},   {25L, 2.9L},
    {30L, 3.4L},    {40L, 4.6L},    {50L, 5.8L},
};

// Linear in l/D, the end segments extended beyond the table.
Real MedhurstH(Real x) {
  constexpr int32_t last = sizeof(kMedhurst) / sizeof(kMedhurst[0]) - 1;
  int32_t i = 0;
  while (i < last - 1 && x > kMedhurst[i + 1].ratio) ++i;
  const MedhurstRow& lo = kMedhurst[i];
  const MedhurstRow& hi = kMedhurst[i + 1];
  return lo.H + (hi.H - lo.H) * (x - lo.ratio) / (hi.ratio - lo.ratio);
}

}  // namespace

Real MedhurstCapacitance(const Secondary& s) {
  // H pF per centimetre of diameter; short coils below the table keep a positive H.
  const Real H = std::fmax(MedhurstH(s.height / s.diameter), 0.05L);
  return Ck(H * 100 * s.diameter * 1e-12L);
}

Real TsspResonance(const Secondary& s) {
  const Real h = s.height;
  const Real x = h / s.diameter;
  const Real awg = 1 + std::log(7.348e-3L / s.wire) / std::log(1.122932L);
  const Real sr = s.turns * s.wire / h;
  const Real fa = -94.6683L * awg * awg * awg + 9000.55L * awg * awg - 301175 * awg + 3.64056e6L;
  const Real fs = 3.50662L * sr * sr - 7.90171L * sr + 5.83019L;
  const Real fx = -0.000211179L * x * x * x + 0.00557568L * x * x + 0.0664809L * x - 0.0153254L;
  const Real t = fa * fs * fx / (h * h);
  const Real f = -3.85188e-15L * t * t * t + 1.17176e-8L * t * t + 0.631829L * t + 482.463L;
  const Real fb = std::log(s.base / h / 0.2L);
  return Ck(f * (1.02L + fb / 98.9065L));
}

BareResonance BareSecondaryResonance(const Secondary& s, Real Lb) {
  BareResonance r;
  r.medhurst = ResonantFrequency(Lb, MedhurstCapacitance(s));
  r.tssp = TsspResonance(s);
  const Real x = s.height / s.diameter;
  // Far outside the fit's range its cubic can turn negative: Medhurst alone there.
  r.weight = r.tssp > 0 ? std::fmin(std::fmax(x - 4.5L, 0), 1) : 0;
  r.f = Ck((1 - r.weight) * r.medhurst + r.weight * (r.weight > 0 ? r.tssp : 0));
  return r;
}

Real ResonantFrequency(Real L, Real C) { return Div(1, kTwoPi * Sqrt(Ck(L * C))); }

Real ResonantCapacitance(Real L, Real f) { return Div(1, Ck(Ck(kTwoPi * f) * Ck(kTwoPi * f) * L)); }

}  // namespace kovaro
