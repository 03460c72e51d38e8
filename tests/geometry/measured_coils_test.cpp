// The secondary and primary models against measured coils: the bare quarter-wave resonances
// and the inductance measured on them, published evaluations of the TSSP fit, and the
// filament model of a coil whose coupling was measured.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "geometry/coil_geometry.h"

using namespace kovaro;

namespace {

struct MeasuredCoil {
  const char* builder;
  Secondary coil;  // diameter, winding height, turns, bare wire diameter, base height
  Real f1;         // measured bare resonance, Hz
};

// Bare grounded-base secondaries as their builders published them (Tesla coil mailing list
// and TSSP reports, 1997-2002).
const MeasuredCoil kCoils[] = {
    {"Paul Nicholson, big CW coil", {0.58L, 1.6L, 725, 0.0020525L, 0.15L}, 90900},
    {"Paul Nicholson, half coil", {0.58L, 0.8L, 365, 0.0020525L, 0.15L}, 150700},
    {"Marc Metlicka, 1700 turns", {0.1081L, 1.07696L, 1700, 0.0005106L, 0.3302L}, 276900},
    {"Kurt Schraner, B&W", {0.4013L, 1.768L, 821, 0.0011281L, 0.7L}, 119000},
    {"Kurt Schraner, 12 cm", {0.1207L, 0.585L, 921, 0.0006438L, 0.2L}, 368000},
    {"Kurt Schraner, 20 cm", {0.2L, 0.68L, 979, 0.0006438L, 0.5L}, 202700},
    {"Bart Anderson", {0.21431L, 1.02553L, 1817, 0.0005106L, 0.4445L}, 112500},
};

Real Percent(Real predicted, Real measured) { return 100 * (predicted / measured - 1); }

}  // namespace

TEST(MeasuredCoils, BareResonanceOfEveryCoilWithinSevenPercent) {
  Real squares = 0;
  std::printf("%-30s %6s %9s %9s %9s\n", "coil", "h/d", "Medhurst", "TSSP", "chosen");
  for (const MeasuredCoil& m : kCoils) {
    const BareResonance r = BareSecondaryResonance(m.coil, SecondaryInductance(m.coil));
    const Real error = Percent(r.f, m.f1);
    std::printf("%-30s %6.2f %+8.2f%% %+8.2f%% %+8.2f%%\n", m.builder,
                static_cast<double>(m.coil.height / m.coil.diameter),
                static_cast<double>(Percent(r.medhurst, m.f1)), static_cast<double>(Percent(r.tssp, m.f1)),
                static_cast<double>(error));
    EXPECT_LT(std::fabs(error), 7) << m.builder;
    squares += error * error;
  }
  const Real rms = std::sqrt(squares / std::size(kCoils));
  std::printf("rms %.2f%%\n", static_cast<double>(rms));
  EXPECT_LT(rms, 3.5L);
}

TEST(MeasuredCoils, InductanceAndPublishedEvaluations) {
  // Bart Anderson measured 134.6 mH.
  EXPECT_NEAR(SecondaryInductance(kCoils[6].coil) / 0.1346L, 1, 0.01L);
  // Kurt Schraner's published evaluations of the TSSP fit: 91.1, 131.4 and 409.0 kHz.
  EXPECT_NEAR(TsspResonance(kCoils[0].coil), 91100, 100);
  EXPECT_NEAR(TsspResonance(kCoils[3].coil), 131400, 100);
  EXPECT_NEAR(TsspResonance(kCoils[4].coil), 409000, 100);
}

TEST(MeasuredCoils, ThorCouplingAndPrimary) {
  // Marco Denicolai's coil as modelled with its measured coupling 0.187: a 939-turn
  // secondary and a flat spiral from 0.275 m to 0.545 m over 9.5 turns, tapped at 7.5.
  CoilGeometry thor;
  thor.secondary = {0.4L, 1.575L, 939, 0.00145L, 0.995L};
  thor.primary = {false, 0.275L, 7.5L, 0.27L / 9.5L, 0.008L, 0.051L};
  const GeometryResult r = ComputeGeometry(thor);
  // An independent filament model of the same coil: Lp 59.43 uH, M 397.16 uH, k 0.1828.
  EXPECT_NEAR(r.La / 5.942926507086246e-05L, 1, 1e-6L);
  EXPECT_NEAR(r.M / 3.9716285179185396e-04L, 1, 1e-5L);
  EXPECT_NEAR(r.kab, 0.18282819231434597L, 0.0002L);
  EXPECT_NEAR(r.kab / 0.187L, 1, 0.03L);  // the measurement
  // The filament sum of the secondary's turns against Nagaoka with Rosa's corrections.
  EXPECT_NEAR(r.Lb / 0.07940549378401404L, 1, 0.0002L);
  // Wheeler's spiral formula within its 5 %: 59.74 uH.
  EXPECT_NEAR(r.La_wheeler / r.La, 1, 0.05L);
  EXPECT_NEAR(r.La_wheeler, 59.74e-6L, 0.005e-6L);
}
