#pragma once

#include <cstdint>
#include <vector>

#include "design/design_host.h"
#include "elements/element_set.h"
#include "geometry/primary.h"
#include "geometry/solenoid.h"
#include "shell/report_log.h"

namespace kovaro {

enum class Topload { None = 0, Toroid = 1, Sphere = 2 };

// The coil geometry window's fields; the defaults describe a medium-size coil: the measured
// 20 cm secondary of the geometry tests, a 24" x 6" toroid and a 10-turn flat primary.
struct CoilGeometry {
  Secondary secondary{0.2L, 0.68L, 979, 0.0006438L, 0.5L};
  Topload topload = Topload::Toroid;
  Real top_major = 0.6L;   // toroid outside diameter, or the sphere's diameter
  Real top_minor = 0.15L;  // toroid tube diameter
  Real top_height = 0.1L;  // topload centre above the winding's top
  Real measured_f = 0;     // measured loaded resonance, Hz; 0 when not measured
  Primary primary{false, 0.15L, 10, 0.0125L, 0.00635L, 0.02L};
  // The surroundings, each 0 when absent: a grounded ceiling's height above the floor, and the
  // coil form's wall inside the winding with its relative permittivity.
  Real ceiling = 0;
  Real form_wall = 0;
  Real form_permittivity = 0;
};

// Refuses a geometry that cannot be built or computed, naming the field and the rule.
void ValidateGeometry(const CoilGeometry& g);

struct GeometryResult {
  Real Lsheet;         // current-sheet inductance of the secondary
  Real Lb;             // with the round-wire corrections
  BareResonance bare;  // the bare secondary's resonance by each model
  Real Cself;          // the secondary's self-capacitance, from the bare resonance
  Real Ctop;           // the topload's isolated capacitance
  Real Cpool;          // Pool's toroid formula (toroid only)
  Real Cground;        // the sphere above the ground plane (sphere only)
  // The field solve of the coil with its topload over the ground: its bare resonance, what the
  // topload adds on this coil (C loaded - C bare, each from its resonance with Lb), the loaded
  // coil's third and fifth resonances over its first, and its first mode along the coil.
  Real f_solve_bare;
  Real Ctop_on_coil;
  Real f3_ratio;
  Real f5_ratio;
  std::vector<Real> mode_voltage;  // at the sections' ends from the base, over the top's
  std::vector<Real> mode_current;  // in the sections from the base, over the largest
  Real Cb_isolated;                // Cself + Ctop, the sum the solve replaces
  Real Cb;                         // Cself + Ctop_on_coil, or from a measured resonance
  Real f_loaded;
  Real La;
  Real La_wheeler;  // flat spiral only
  Real M;
  Real kab;
};

// The element values of a valid geometry.
GeometryResult ComputeGeometry(const CoilGeometry& g);

// "Calculate": validates, computes, then reports; the primary resonance when Ca is set.
GeometryResult CalculateGeometry(const CoilGeometry& g, Real Ca, bool details, ReportLog& log);

// "Use for elements": Lb, Cb, La and kab into the element window's fields and the elements,
// then "Simulate and plot" enabled.
void UseGeometryForElements(const CoilGeometry& g, ElementSet& elements, DesignHost& host);

// "Send to designs": Lb and Cb into the design windows.
void SendGeometryToDesigns(const CoilGeometry& g, DesignHost& host);

// The primary turns that give La, then the height that gives kab with them.
struct PrimaryPlacement {
  Real turns;
  Real height;
};

inline constexpr Real kMostPrimaryTurns = 100;

// "Find primary": the placement for the elements' La and kab, reported; a target outside the
// geometry's reach is refused with what the geometry can reach.
PrimaryPlacement FindPrimary(const CoilGeometry& g, const ElementSet& e, ReportLog& log);

}  // namespace kovaro
