#include "geometry/coil_geometry.h"

#include <cmath>
#include <string>

#include "geometry/field_solve.h"
#include "geometry/topload.h"
#include "shell/float_error.h"
#include "shell/format.h"
#include "shell/messages.h"

namespace kovaro {
namespace {

constexpr Real kMostSecondaryTurns = 10000;
constexpr Real kPrimaryReach = 100;

void Require(bool rule, const std::string& message) {
  if (!rule) throw InputError(message);
}

void Positive(Real value, const std::string& field) { Require(value > 0, field + " must be greater than 0"); }

std::string FR(Real x) { return FormatReal(x, 15, 10); }

}  // namespace

void ValidateGeometry(const CoilGeometry& g) {
  const Secondary& s = g.secondary;
  Positive(s.diameter, "Diameter (m)");
  Positive(s.height, "Winding height (m)");
  Require(s.turns >= 1 && s.turns <= kMostSecondaryTurns,
          "Turns of the secondary must be between 1 and 10000");
  Positive(s.wire, "Wire diameter (m)");
  Require(s.wire <= s.height / s.turns,
          "Wire diameter (m) must not exceed the pitch of the winding, Winding height (m) / Turns");
  Require(s.wire < s.diameter / 2, "Wire diameter (m) must be less than half the Diameter (m)");
  Positive(s.base, "Winding start above ground (m)");
  if (g.topload != Topload::None) Positive(g.top_major, "Major diameter (m)");
  if (g.topload == Topload::Toroid) {
    Positive(g.top_minor, "Minor diameter (m)");
    Require(g.top_minor < g.top_major / 2, "Minor diameter (m) must be less than half the major diameter");
  }
  Require(g.top_height >= 0, "Centre above winding top (m) must not be negative");
  // The topload clear of the winding: the field solve's charges must not meet.
  const Real gap_r =
      g.topload == Topload::Toroid ? (g.top_major - g.top_minor) / 2 - s.diameter / 2 : s.diameter / 2;
  const Real reach = g.topload == Topload::Toroid ? g.top_minor / 2 : g.top_major / 2;
  if (g.topload != Topload::None)
    Require(std::hypot(gap_r, g.top_height) > reach + s.wire / 2,
            "Centre above winding top (m) must keep the topload clear of the winding");
  const Real lowest = s.base + s.height + g.top_height - reach;
  if (g.topload != Topload::None)
    Require(lowest > 0, "Centre above winding top (m) must keep the topload above the floor");
  Require(g.ceiling >= 0, "Ceiling height (m) must not be negative");
  const Real top = s.base + s.height + g.top_height + (g.topload == Topload::None ? 0 : reach);
  Require(g.ceiling == 0 || g.ceiling > top,
          "Ceiling height (m) must be 0 (none) or above the coil and its topload");
  Require(g.form_wall >= 0 && g.form_wall < s.diameter / 6,
          "Coil form wall (m) must be 0 (none) or less than a third of the coil's radius");
  Require(g.form_permittivity == 0 || g.form_permittivity >= 1,
          "Coil form permittivity must be 0 (none) or at least 1");
  Require(g.measured_f >= 0, "Measured loaded resonance (Hz) must not be negative");
  const Primary& p = g.primary;
  Positive(p.radius, "Inner radius (m)");
  Require(p.turns > 0 && p.turns <= kMostPrimaryTurns,
          "Turns of the primary must be greater than 0 and at most 100");
  Positive(p.spacing, "Turn spacing (m)");
  Positive(p.conductor, "Conductor diameter (m)");
  Require(p.conductor <= p.spacing,
          "Conductor diameter (m) must not exceed Turn spacing (m): the primary's turns would overlap");
  Require(p.radius - p.conductor / 2 > (s.diameter + s.wire) / 2,
          "Inner radius (m) must leave the primary's conductor outside the secondary's winding");
  // Farther off, the coupling is nil to every digit reported, and the sums take long.
  const Real farthest = kPrimaryReach * (s.height + s.diameter);
  Require(std::fabs(p.height) <= farthest,
          "Height above winding start (m) must lie within " + FormatReal(kPrimaryReach, 1, 0) +
              " times the winding height plus the diameter of the winding start");
}

GeometryResult ComputeGeometry(const CoilGeometry& g) {
  const Secondary& s = g.secondary;
  GeometryResult r{};
  r.Lsheet = CurrentSheetInductance(s);
  r.Lb = SecondaryInductance(s);
  r.bare = BareSecondaryResonance(s, r.Lb);
  r.Cself = ResonantCapacitance(r.Lb, r.bare.f);
  const Real centre = s.base + s.height + g.top_height;  // above ground
  if (g.topload == Topload::Toroid) {
    r.Ctop = ToroidCapacitance(g.top_major, g.top_minor);
    r.Cpool = PoolToroidCapacitance(g.top_major, g.top_minor);
  } else if (g.topload == Topload::Sphere) {
    r.Ctop = SphereCapacitance(g.top_major);
    if (centre > g.top_major / 2) r.Cground = SphereOverGround(g.top_major, centre);
  }
  const FieldSolution field = SolveField(FieldModel{g});
  r.f_solve_bare = field.bare.f[0];
  const FieldModes& loaded = field.loaded ? *field.loaded : field.bare;
  if (field.loaded)
    r.Ctop_on_coil = Ck(ResonantCapacitance(r.Lb, loaded.f[0]) - ResonantCapacitance(r.Lb, r.f_solve_bare));
  r.f3_ratio = loaded.f[1] / loaded.f[0];
  r.f5_ratio = loaded.f[2] / loaded.f[0];
  r.mode_voltage = loaded.voltage;
  r.mode_current = loaded.current;
  r.Cb_isolated = Ck(r.Cself + r.Ctop);
  r.Cb = g.measured_f > 0 ? ResonantCapacitance(r.Lb, g.measured_f) : Ck(r.Cself + r.Ctop_on_coil);
  r.f_loaded = ResonantFrequency(r.Lb, r.Cb);
  r.La = PrimaryInductance(g.primary);
  if (!g.primary.helical) r.La_wheeler = WheelerSpiralInductance(g.primary);
  r.M = RingsMutual(PrimaryRings(g.primary), SecondaryRings(s));
  r.kab = Div(r.M, Sqrt(Ck(r.La * r.Lb)));
  return r;
}

void UseGeometryForElements(const CoilGeometry& g, ElementSet& elements, DesignHost& host) {
  ValidateGeometry(g);
  const GeometryResult r = ComputeGeometry(g);
  host.SetElementField(ElementField::Lb, r.Lb);
  host.SetElementField(ElementField::Cb, r.Cb);
  host.SetElementField(ElementField::La, r.La);
  host.SetElementField(ElementField::kab, r.kab);
  elements.Lb = r.Lb;
  elements.Cb = r.Cb;
  elements.La = r.La;
  elements.kab = r.kab;
  host.SetSimulateEnabled(true);
}

void SendGeometryToDesigns(const CoilGeometry& g, DesignHost& host) {
  ValidateGeometry(g);
  const GeometryResult r = ComputeGeometry(g);
  host.SetDesignSecondary(r.Lb, r.Cb);
}

GeometryResult CalculateGeometry(const CoilGeometry& g, Real Ca, bool details, ReportLog& log) {
  ValidateGeometry(g);
  const GeometryResult r = ComputeGeometry(g);
  const Real primary_f = Ca != 0 ? ResonantFrequency(r.La, Ca) : 0;
  log.LogLine("");
  log.LogLine("Coil geometry:");
  log.LogLine("Lb=" + FR(r.Lb / 0.001L) + " mH");
  log.LogLine("Secondary self-capacitance=" + FR(r.Cself / 1e-12L) + " pF");
  log.LogLine("Topload capacitance=" + FR(r.Ctop / 1e-12L) + " pF");
  log.LogLine("Topload capacitance on the coil=" + FR(r.Ctop_on_coil / 1e-12L) + " pF");
  log.LogLine("Cb=" + FR(r.Cb / 1e-12L) + " pF");
  log.LogLine("Bare secondary resonance=" + FR(r.bare.f / 1000) + " kHz");
  log.LogLine("Loaded secondary resonance=" + FR(r.f_loaded / 1000) + " kHz");
  log.LogLine("La=" + FR(r.La / 1e-6L) + " uH");
  log.LogLine("M=" + FR(r.M / 1e-6L) + " uH");
  log.LogLine("kab=" + FR(r.kab));
  if (Ca != 0) log.LogLine("Primary resonance with Ca=" + FR(primary_f / 1000) + " kHz");
  if (!details) return r;
  log.LogLine("Current-sheet Lb=" + FR(r.Lsheet / 0.001L) + " mH (round-wire correction " +
              FR((r.Lsheet - r.Lb) / 0.001L) + " mH)");
  log.LogLine("Bare resonance by Medhurst's self-capacitance=" + FR(r.bare.medhurst / 1000) + " kHz");
  log.LogLine(r.bare.tssp > 0 ? "Bare resonance by the TSSP fit=" + FR(r.bare.tssp / 1000) + " kHz"
                              : "The TSSP fit is outside its range for this coil");
  log.LogLine("Weight of the TSSP fit (h/d from 4.5 to 5.5)=" + FR(r.bare.weight));
  log.LogLine("Bare resonance by the field solve=" + FR(r.f_solve_bare / 1000) + " kHz");
  log.LogLine("Loaded f3/f1=" + FR(r.f3_ratio));
  log.LogLine("Loaded f5/f1=" + FR(r.f5_ratio));
  log.LogLine("Cb with the isolated topload capacitance=" + FR(r.Cb_isolated / 1e-12L) + " pF");
  log.LogLine("Loaded resonance with the isolated topload capacitance=" +
              FR(ResonantFrequency(r.Lb, r.Cb_isolated) / 1000) + " kHz");
  if (g.topload == Topload::Toroid) log.LogLine("Pool's toroid formula=" + FR(r.Cpool / 1e-12L) + " pF");
  if (r.Cground > 0) log.LogLine("Sphere over the ground plane=" + FR(r.Cground / 1e-12L) + " pF");
  if (g.measured_f > 0) log.LogLine("Topload capacitance in place=" + FR((r.Cb - r.Cself) / 1e-12L) + " pF");
  if (!g.primary.helical) log.LogLine("Wheeler's spiral La=" + FR(r.La_wheeler / 1e-6L) + " uH");
  return r;
}

}  // namespace kovaro
