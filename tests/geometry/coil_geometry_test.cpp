#include "geometry/coil_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "geometry/primary.h"
#include "geometry/solenoid.h"
#include "shell/format.h"
#include "shell/messages.h"

using namespace kovaro;

namespace {

struct Lines : ReportLog {
  void LogLine(const std::string& text) override { lines.push_back(text); }
  std::vector<std::string> lines;
};

// A report line up to its "=", or the whole line when it has none.
std::string Label(const std::string& line) {
  const auto equals = line.find('=');
  return equals == std::string::npos ? line : line.substr(0, equals + 1);
}

// The message of the refusal of g, or "" when it is accepted.
std::string Refusal(const CoilGeometry& g) {
  try {
    ValidateGeometry(g);
  } catch (const InputError& e) {
    return e.what();
  }
  return "";
}

CoilGeometry Thor() {
  CoilGeometry g;
  g.secondary = {0.4L, 1.575L, 939, 0.00145L, 0.995L};
  g.primary = {false, 0.275L, 7.5L, 0.27L / 9.5L, 0.008L, 0.051L};
  return g;
}

}  // namespace

TEST(CoilGeometry, CalculateReportsInOrderAndAMeasuredResonanceSetsCb) {
  Lines log;
  const GeometryResult r = CalculateGeometry(CoilGeometry{}, 5.07e-9L, false, log);
  std::vector<std::string> labels;
  for (const std::string& line : log.lines) labels.push_back(Label(line));
  EXPECT_EQ(labels, (std::vector<std::string>{
                        "", "Coil geometry:", "Lb=", "Secondary self-capacitance=", "Topload capacitance=",
                        "Topload capacitance on the coil=", "Cb=", "Bare secondary resonance=",
                        "Loaded secondary resonance=", "La=", "M=", "kab=", "Primary resonance with Ca="}));
  // No measured resonance: the self-capacitance and what the topload adds where it sits.
  EXPECT_NEAR(r.Cb, r.Cself + r.Ctop_on_coil, 1e-24L);
  EXPECT_LT(r.Ctop_on_coil, r.Ctop);

  // A measured loaded resonance of 120 kHz: Cb follows from it, the loaded line shows it back,
  // and "List details" adds the capacitance the topload adds in place after the main lines.
  CoilGeometry measured;
  measured.measured_f = 120000;
  Lines details;
  CalculateGeometry(measured, 0, true, details);
  const auto line = [&](const std::string& label) {
    const auto at = std::find_if(details.lines.begin(), details.lines.end(),
                                 [&](const std::string& l) { return Label(l) == label; });
    return at == details.lines.end() ? std::string() : *at;
  };
  EXPECT_EQ(line("Loaded secondary resonance="), "Loaded secondary resonance= 120.0000000000 kHz");
  EXPECT_NE(line("Topload capacitance in place="), "");
  for (const char* label : {"Bare resonance by the field solve=", "Loaded f3/f1=", "Loaded f5/f1=",
                            "Cb with the isolated topload capacitance=",
                            "Loaded resonance with the isolated topload capacitance="})
    EXPECT_NE(line(label), "") << label;
  for (const std::string& l : details.lines) EXPECT_EQ(l.find("Primary resonance"), std::string::npos);
}

TEST(CoilGeometry, BadGeometryIsRefusedNamingTheFieldAndNothingIsReported) {
  struct Case {
    void (*change)(CoilGeometry&);
    const char* message;
  };
  const Case cases[] = {
      {[](CoilGeometry& g) { g.secondary.diameter = 0; }, "Diameter (m) must be greater than 0"},
      {[](CoilGeometry& g) { g.secondary.height = -1; }, "Winding height (m) must be greater than 0"},
      {[](CoilGeometry& g) { g.secondary.turns = 0.5L; },
       "Turns of the secondary must be between 1 and 10000"},
      {[](CoilGeometry& g) { g.secondary.wire = 0.001L; },
       "Wire diameter (m) must not exceed the pitch of the winding, Winding height (m) / Turns"},
      {[](CoilGeometry& g) { g.secondary.base = 0; },
       "Winding start above ground (m) must be greater than 0"},
      {[](CoilGeometry& g) { g.top_minor = 0.3L; },
       "Minor diameter (m) must be less than half the major diameter"},
      {[](CoilGeometry& g) { g.top_major = 0; }, "Major diameter (m) must be greater than 0"},
      {[](CoilGeometry& g) { g.measured_f = -1; }, "Measured loaded resonance (Hz) must not be negative"},
      {[](CoilGeometry& g) { g.primary.turns = 0; },
       "Turns of the primary must be greater than 0 and at most 100"},
      {[](CoilGeometry& g) { g.primary.conductor = 0.02L; },
       "Conductor diameter (m) must not exceed Turn spacing (m): the primary's turns would overlap"},
      {[](CoilGeometry& g) { g.primary.radius = 0.102L; },
       "Inner radius (m) must leave the primary's conductor outside the secondary's winding"},
      // The field solve's: the topload clear of the winding and above the floor, a ceiling
      // above everything, a coil form thin beside the radius.
      {[](CoilGeometry& g) { g.top_major = 0.4L, g.top_minor = 0.19L, g.top_height = 0.05L; },
       "Centre above winding top (m) must keep the topload clear of the winding"},
      {[](CoilGeometry& g) { g.top_major = 6, g.top_minor = 2.9L; },
       "Centre above winding top (m) must keep the topload above the floor"},
      {[](CoilGeometry& g) { g.ceiling = 1.3L; },
       "Ceiling height (m) must be 0 (none) or above the coil and its topload"},
      {[](CoilGeometry& g) { g.form_wall = 0.04L; },
       "Coil form wall (m) must be 0 (none) or less than a third of the coil's radius"},
      {[](CoilGeometry& g) { g.form_permittivity = 0.5L; },
       "Coil form permittivity must be 0 (none) or at least 1"},
      {[](CoilGeometry& g) {
         g.secondary = {0.002L, 0.68L, 100, 0.0015L, 0.5L};
       },
       "Wire diameter (m) must be less than half the Diameter (m)"},
  };
  for (const Case& c : cases) {
    CoilGeometry g;
    c.change(g);
    EXPECT_EQ(Refusal(g), c.message);
    Lines log;
    EXPECT_THROW(CalculateGeometry(g, 0, false, log), InputError);
    EXPECT_TRUE(log.lines.empty());
  }
  // What the rules leave alone: no topload (its sizes unused), a helix, a primary below the coil.
  CoilGeometry g;
  g.topload = Topload::None;
  g.top_major = g.top_minor = 0;
  g.primary.helical = true;
  g.primary.height = -0.3L;
  EXPECT_EQ(Refusal(g), "");
}

TEST(CoilGeometry, FindPrimaryRecoversAKnownPrimaryAndRefusesWhatCannotBeReached) {
  // Thor's La and kab from its 7.5-turn tap at 0.051 m; found again from a primary of 3 turns
  // at 0.3 m.
  const GeometryResult thor = ComputeGeometry(Thor());
  CoilGeometry start = Thor();
  start.primary.turns = 3;
  start.primary.height = 0.3L;
  ElementSet e;
  e.La = thor.La;
  e.kab = thor.kab;
  Lines log;
  const PrimaryPlacement found = FindPrimary(start, e, log);
  EXPECT_NEAR(found.turns, 7.5L, 1e-9L);
  EXPECT_NEAR(found.height, 0.051L, 1e-7L);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Primary turns for La=   7.5000000000",
                                                 "Primary height for kab=   0.0510000000 m"}));

  auto refusal = [&start](Real La, Real kab) {
    ElementSet target;
    target.La = La;
    target.kab = kab;
    Lines none;
    try {
      FindPrimary(start, target, none);
    } catch (const InputError& error) {
      EXPECT_TRUE(none.lines.empty());
      return std::string(error.what());
    }
    return std::string();
  };
  EXPECT_EQ(
      refusal(1, 0.1L).rfind("La=1000000.000000 uH cannot be reached: 100 turns of this primary give La=", 0),
      0u);
  EXPECT_EQ(refusal(thor.La, 0.5L)
                .rfind("kab=0.500000 cannot be reached: this primary couples at most kab=0.29", 0),
            0u);
  EXPECT_EQ(
      refusal(thor.La, 0.001L).rfind("kab=0.001000 cannot be reached: this primary couples at least", 0), 0u);
  EXPECT_EQ(refusal(0, 0.1L), "Find primary needs the elements' La greater than 0, as a design sets it");
  EXPECT_EQ(refusal(thor.La, 1), "Find primary needs the elements' kab between 0 and 1, as a design sets it");
}

// The bare resonance blends from Medhurst's (h/d 4.5 and below) to the TSSP fit's (5.5 and
// above), halfway at 5.
TEST(CoilGeometry, TheBareResonanceBlendsBetweenItsModels) {
  const auto weight = [](Real height) {
    Secondary s = CoilGeometry{}.secondary;  // 0.2 m across
    s.height = height;
    return BareSecondaryResonance(s, SecondaryInductance(s));
  };
  EXPECT_EQ(weight(0.9L).weight, 0);
  EXPECT_NEAR(weight(0.95L).weight, 0.25L, 1e-15L);
  EXPECT_NEAR(weight(1.0L).weight, 0.5L, 1e-15L);
  EXPECT_EQ(weight(1.1L).weight, 1);
  const BareResonance middle = weight(1.0L);
  EXPECT_NEAR(middle.f, (middle.medhurst + middle.tssp) / 2, 1e-6L);
}

TEST(CoilGeometry, AHelicalPrimaryRisesFromItsHeight) {
  // Three and a half turns of 2 cm pitch from 0.1 m: each ring at the middle of its turn.
  const Primary helix{true, 0.15L, 3.5L, 0.02L, 0.00635L, 0.1L};
  const std::vector<Ring> rings = PrimaryRings(helix);
  ASSERT_EQ(rings.size(), 4u);
  const Real z[] = {0.11L, 0.13L, 0.15L, 0.165L};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(rings[i].r, 0.15L);
    EXPECT_NEAR(rings[i].z, z[i], 1e-18L) << i;
    EXPECT_EQ(rings[i].w, i < 3 ? 1 : 0.5L);
  }
  // Ten turns over 0.2 m as a short solenoid, by Wheeler's formula r^2 N^2 / (9 r + 10 l) uH in
  // inches: 5.906^2 * 100 / (9 * 5.906 + 10 * 7.874) = 26.45 uH.
  const Primary ten{true, 0.15L, 10, 0.02L, 0.00635L, 0.1L};
  EXPECT_NEAR(PrimaryInductance(ten) / 26.45e-6L, 1, 0.01L);
}

TEST(CoilGeometry, TheTurnLimitsAreAccepted) {
  CoilGeometry g;
  g.primary.turns = 100;
  EXPECT_EQ(Refusal(g), "");
  g.primary.turns = 100.001L;
  EXPECT_EQ(Refusal(g), "Turns of the primary must be greater than 0 and at most 100");
  g = CoilGeometry{};
  g.secondary.turns = 1;
  EXPECT_EQ(Refusal(g), "");
  g.secondary.turns = 0.999L;
  EXPECT_EQ(Refusal(g), "Turns of the secondary must be between 1 and 10000");
  g.secondary.turns = 10000;
  g.secondary.wire = 0.00005L;
  EXPECT_EQ(Refusal(g), "");
  g.secondary.turns = 10000.5L;
  EXPECT_EQ(Refusal(g), "Turns of the secondary must be between 1 and 10000");
}

// The default coil's La of 55.88 uH with 5.07 nF: 1 / (2 pi sqrt(La Ca)) = 299.004 kHz.
TEST(CoilGeometry, ThePrimaryResonanceIsLaWithCa) {
  Lines log;
  CalculateGeometry(CoilGeometry{}, 5.07e-9L, false, log);
  const auto line = std::find_if(log.lines.begin(), log.lines.end(), [](const std::string& l) {
    return Label(l) == "Primary resonance with Ca=";
  });
  ASSERT_NE(line, log.lines.end());
  EXPECT_NEAR(std::stold(line->substr(26, 15)), 299.004L, 0.0005L) << *line;
}
