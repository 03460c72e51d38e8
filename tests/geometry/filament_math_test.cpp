// The building blocks of the coil geometry against data that does not come from this code:
// 25-digit values of K and E, Nagaoka's published table, Neumann's integral by an independent
// quadrature, the known limits of the mutual inductance, and the capacitance of a torus.

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/elliptic.h"
#include "geometry/filament.h"
#include "geometry/solenoid.h"
#include "geometry/topload.h"

using namespace kovaro;

namespace {

void ExpectRelative(Real expected, Real actual, Real tolerance) {
  EXPECT_LE(std::fabs(actual / expected - 1), tolerance)
      << "expected " << static_cast<double>(expected) << ", got " << static_cast<double>(actual);
}

// Neumann's double integral of two coaxial loops reduces to one integral over the angle
// between the elements; its integrand is smooth and periodic, so the trapezoidal rule
// converges geometrically.
Real Neumann(Real a, Real b, Real z, int32_t points) {
  Real sum = 0;
  for (int32_t i = 0; i < points; ++i) {
    const Real phi = 2 * kPi * i / points;
    sum += std::cos(phi) / std::sqrt(a * a + b * b + z * z - 2 * a * b * std::cos(phi));
  }
  return kMu0 * a * b / 2 * sum * (2 * kPi / points);
}

}  // namespace

TEST(Elliptic, CompleteIntegralsMatchTabulatedValues) {
  // Moduli exact in binary, so that the complement below is exact to the last bit; values
  // from a 30-digit evaluation.
  struct Case {
    Real k, K, E;
  };
  const Case cases[] = {
      {0.0009765625L, 1.570796701302125812982737L, 1.570795952287801359736671L},
      {0.5L, 1.685750354812596042871204L, 1.467462209339427155459795L},
      {0.75L, 1.910989780751829196553148L, 1.318472107994620997371843L},
      {0.9375L, 2.488400491401035160956322L, 1.121593170232373842114402L},
      {0.99951171875L, 4.853093080761613829957182L, 1.002125229559153308500645L},
      {0.9999999990686774253845215L, 11.43692848433200180312973L, 1.000000010185808391879244L},
  };
  for (const Case& c : cases) {
    const Elliptic e = CompleteElliptic(c.k, std::sqrt((1 - c.k) * (1 + c.k)));
    ExpectRelative(c.K, e.K, 1e-15L);
    ExpectRelative(c.E, e.E, 1e-15L);
  }
  // The lemniscate case: K(1/sqrt 2) = Gamma(1/4)^2 / (4 sqrt(pi)).
  const Real s = std::sqrt(0.5L);
  ExpectRelative(std::pow(std::tgamma(0.25L), 2) / (4 * std::sqrt(kPi)), CompleteElliptic(s, s).K, 1e-15L);
  EXPECT_EQ(CompleteElliptic(0, 1).K, kPi / 2);
}

TEST(Solenoid, NagaokaCoefficientMatchesThePublishedTable) {
  // Nagaoka's table against D/l, four decimals.
  const Real table[][2] = {{0.1L, 0.9588L}, {0.2L, 0.9201L}, {0.5L, 0.8181L}, {1, 0.6884L},
                           {2, 0.5255L},    {5, 0.3198L},    {10, 0.2033L}};
  for (const auto& row : table) EXPECT_NEAR(NagaokaCoefficient(row[0], 1), row[1], 0.00005L) << row[0];
  EXPECT_NEAR(NagaokaCoefficient(1, 1), 0.6884226L, 5e-8L);
  EXPECT_NEAR(NagaokaCoefficient(10, 1), 0.2033235L, 5e-8L);
  // Lundin's approximation (within 3 ppm) over flat to long coils.
  for (Real x = 0.01L; x < 100; x *= 1.7L) {
    const Real D = 1 / x;  // l = 1
    Real lundin;
    if (x >= 1) {
      const Real y = D * D;
      lundin = (1 + 0.383901L * y + 0.017108L * y * y) / (1 + 0.258952L * y) - 4 * D / (3 * kPi);
    } else {
      const Real y = x * x;
      const Real f1 = (1 + 0.383901L * y + 0.017108L * y * y) / (1 + 0.258952L * y);
      const Real f2 = 0.093842L * y + 0.002029L * y * y - 0.000801L * y * y * y;
      lundin = 2 * x / kPi * ((std::log(4 / x) - 0.5L) * f1 + f2);
    }
    ExpectRelative(lundin, NagaokaCoefficient(D, 1), 3e-6L);
  }
}

TEST(Filament, MutualInductanceAgreesWithNeumannAndItsLimits) {
  struct Case {
    Real a, b, z;
    int32_t points;
  };
  const Case cases[] = {{0.1L, 0.1L, 0.05L, 2000},    {0.1L, 0.3L, 0, 2000},     {0.3L, 0.1L, -0.4L, 2000},
                        {0.2L, 0.21L, 0.002L, 40000}, {0.05L, 0.5L, 1.0L, 2000}, {1, 1, 0.001L, 100000}};
  for (const Case& c : cases)
    ExpectRelative(Neumann(c.a, c.b, c.z, c.points), FilamentMutual(c.a, c.b, c.z), 1e-9L);
  // Symmetric in the radii and in the sign of the distance.
  EXPECT_EQ(FilamentMutual(0.1L, 0.3L, 0.2L), FilamentMutual(0.1L, 0.3L, -0.2L));
  ExpectRelative(FilamentMutual(0.1L, 0.3L, 0.2L), FilamentMutual(0.3L, 0.1L, 0.2L), 1e-18L);
  // Far apart: two dipoles.
  for (Real z : {1000.0L, 100000.0L}) {
    const Real a = 1, b = 0.5L;
    ExpectRelative(kMu0 * kPi * a * a * b * b / (2 * std::pow(a * a + b * b + z * z, 1.5L)),
                   FilamentMutual(a, b, z), 1e-10L);
  }
  // Very close: the logarithmic formula of a loop with its neighbour.
  const Real a = 0.3L, z = 3e-5L;
  ExpectRelative(kMu0 * a * (std::log(8 * a / z) - 2), FilamentMutual(a, a, z), 1e-7L);
}

TEST(Topload, CapacitancesOfSphereAndTorus) {
  ExpectRelative(4 * kPi * kEpsilon0 * 0.25L, SphereCapacitance(0.5L), 1e-18L);
  // Far above the ground the image series adds r / (2h).
  ExpectRelative(SphereCapacitance(0.5L) * (1 + 1 / 2000.0L), SphereOverGround(0.5L, 1000 * 0.25L), 1e-6L);
  // The exact isolated torus against values of the toroidal-coordinate series by another
  // program's Legendre functions (12" x 3", 24" x 6", Thor's 1.515 x 0.2, a fat and a thin one).
  const Real toroids[][3] = {{0.3048L, 0.0762L, 1.310663973118322e-11L},
                             {0.6096L, 0.1524L, 2.621327946236644e-11L},
                             {1.515L, 0.2L, 5.875622987282634e-11L},
                             {0.5L, 0.2L, 2.326477385550953e-11L},
                             {1.0L, 0.05L, 3.312414940649507e-11L}};
  for (const auto& t : toroids) ExpectRelative(t[2], ToroidCapacitance(t[0], t[1]), 1e-12L);
  // A very thin ring: 4 pi^2 eps0 R / ln(8R/a).
  const Real R = 1, minor = 1e-4L;
  ExpectRelative(4 * kPi * kPi * kEpsilon0 * R / std::log(8 * R / minor),
                 ToroidCapacitance(2 * (R + minor), 2 * minor), 0.01L);
  // Pool's fit in inches for Thor's toroid; the SI constant carries five digits.
  ExpectRelative(5.742019192042234e-11L, PoolToroidCapacitance(1.515L, 0.2L), 1e-4L);
}
