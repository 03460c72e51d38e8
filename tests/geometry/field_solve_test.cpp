#include "geometry/field_solve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "geometry/ring_charge.h"
#include "geometry/solenoid.h"
#include "geometry/surface_panels.h"
#include "geometry/topload.h"

using namespace kovaro;

namespace {

Real Relative(Real a, Real b) { return std::fabs(a / b - 1); }

}  // namespace

// What needs no measurement: the topload's bands against exact capacitances, the ceiling's
// images against its grounded plane, the inductance matrix against Nagaoka and Rosa, and the
// convergence of f1 as the sections and bands grow.
TEST(FieldSolve, ExactLimitsAndConvergence) {
  EXPECT_LT(Relative(SurfaceCapacitance(SpherePanels(0.3L, 1e4L, 48, 2), false), SphereCapacitance(0.6L)),
            1e-4L);
  EXPECT_LT(Relative(SurfaceCapacitance(SpherePanels(0.3L, 0.6L, 48, 2), true), SphereOverGround(0.6L, 0.6L)),
            1e-4L);
  // The 24" x 6" torus: 26.21 pF exactly (the toroidal-coordinate series).
  const Real torus = SurfaceCapacitance(TorusPanels(0.2286L, 0.0762L, 1e4L, 48, 2), false);
  EXPECT_LT(Relative(torus, ToroidCapacitance(0.6096L, 0.1524L)), 1e-4L);
  EXPECT_NEAR(torus * 1e12L, 26.21L, 0.005L);
  // Between a floor and a ceiling 3 m up, a ring's potential vanishes on both (the far images
  // are points: a few millionths of the potential near it).
  const RingPoint charge{0.2L, 1.1L};
  const Real scale = RingPotential(0.2L, 0.3L, 0.5L);
  EXPECT_LT(std::fabs(GroundedPotential(charge, {0.3L, 3}, 3)), 1e-5L * scale);
  EXPECT_LT(std::fabs(GroundedPotential(charge, {0.3L, 0}, 3)), 1e-5L * scale);

  const CoilGeometry g;
  const FieldSolution fine = SolveField(FieldModel{g, 160, 96, 4, 1000});
  const FieldSolution standard = SolveField(FieldModel{g});
  EXPECT_LT(Relative(standard.inductance, SecondaryInductance(g.secondary)), 2e-4L);
  EXPECT_LT(Relative(standard.bare.f[0], fine.bare.f[0]), 5e-4L);
  EXPECT_LT(Relative(standard.loaded->f[0], fine.loaded->f[0]), 5e-4L);
  std::printf("f1 bare %.4Lf kHz (finest %.4Lf), loaded %.4Lf kHz (finest %.4Lf)\n",
              standard.bare.f[0] / 1000, fine.bare.f[0] / 1000, standard.loaded->f[0] / 1000,
              fine.loaded->f[0] / 1000);
  // The quarter-wave coil's modes: f3 and f5 above three and five times f1 for a coil with
  // distributed capacitance, the first mode's voltage rising from the base to the top.
  EXPECT_GT(standard.bare.f[1] / standard.bare.f[0], 2);
  EXPECT_EQ(standard.loaded->voltage.front(), 0);
  EXPECT_EQ(standard.loaded->voltage.back(), 1);
  for (size_t k = 1; k < standard.loaded->voltage.size(); ++k)
    EXPECT_GT(standard.loaded->voltage[k], standard.loaded->voltage[k - 1]);
}

// Malcolm Watts's 17" x 39" resonator: a 19.5" x 4.5" toroid added about 6 pF (21 pF
// isolated), a 26" x 11" terminal 11 to 13 pF, and 2 pF more raised by 5". The turns were not
// given; the added capacitances do not depend on them. Each topload's bottom 1 cm above the top
// turn, the winding's start 0.3 m above the floor.
TEST(FieldSolve, AToploadOnACoilAddsWhatWasMeasured) {
  CoilGeometry g;
  g.secondary = {0.4318L, 0.9906L, 1000, 0.0009L, 0.3L};
  const Real Lb = SecondaryInductance(g.secondary);
  const auto added = [&](Real major, Real minor, Real raised) {
    g.topload = Topload::Toroid;
    g.top_major = major;
    g.top_minor = minor;
    g.top_height = minor / 2 + 0.01L + raised;
    const FieldSolution s = SolveField(FieldModel{g});
    return ResonantCapacitance(Lb, s.loaded->f[0]) - ResonantCapacitance(Lb, s.bare.f[0]);
  };
  const Real toroid = added(0.4953L, 0.1143L, 0);
  const Real terminal = added(0.6604L, 0.2794L, 0);
  const Real raised = added(0.6604L, 0.2794L, 0.127L);
  std::printf("toroid adds %.2Lf pF, terminal %.2Lf pF, raised 5\" %.2Lf pF more\n", toroid * 1e12L,
              terminal * 1e12L, (raised - terminal) * 1e12L);
  EXPECT_NEAR(toroid, 6e-12L, 0.3L * 6e-12L);
  EXPECT_GT(terminal, 0.7L * 11e-12L);
  EXPECT_LT(terminal, 1.3L * 13e-12L);
  EXPECT_GT(raised - terminal, 1e-12L);
  EXPECT_LT(raised - terminal, 3e-12L);
  // A grounded ceiling and a coil form each lower the loaded resonance.
  g.top_height = 0.1L;
  const Real free = SolveField(FieldModel{g}).loaded->f[0];
  g.ceiling = 2.5L;
  EXPECT_LT(SolveField(FieldModel{g}).loaded->f[0], free);
  g.ceiling = 0;
  g.form_wall = 0.003L;
  g.form_permittivity = 3;
  EXPECT_LT(SolveField(FieldModel{g}).loaded->f[0], free);
}

// Fewer turns than sections: the sections follow the turns, and the solve still has modes.
TEST(FieldSolve, CoilsOfFewTurns) {
  for (const Real turns : {1.0L, 2.0L, 39.0L, 1.5L}) {
    CoilGeometry g;
    g.secondary = {0.2L, 0.68L, turns, 0.001L, 0.5L};
    const FieldSolution s = SolveField(FieldModel{g});
    EXPECT_GT(s.bare.f[0], 0) << turns;
    EXPECT_LT(s.loaded->f[0], s.bare.f[0]) << turns;
  }
}
