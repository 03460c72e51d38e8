#pragma once

#include <Eigen/Dense>
#include <cstdint>
#include <vector>

#include "geometry/ring_charge.h"

namespace kovaro {

// A band of an axisymmetric surface that carries one charge unknown, spread evenly over the
// band's area: the band as `sub` rings of equal width along the surface, each with its share
// of the charge.
struct Panel {
  std::vector<RingPoint> rings;
  std::vector<Real> share;
  Real width;  // of each ring's band, along the surface
  RingPoint centre;
  Real extent;  // the whole band's width
};

// The bands of a ring torus (major radius R to the tube's centre, tube radius a, centre at
// height zc) around its generating circle, and of a sphere (radius a, centre at zc) from pole
// to pole.
std::vector<Panel> TorusPanels(Real R, Real a, Real zc, int32_t count, int32_t sub);
std::vector<Panel> SpherePanels(Real a, Real zc, int32_t count, int32_t sub);

// The mean potential over panel j of a unit charge on panel i, grounded or in free space:
// nearby rings on one surface at their mean distance across their bands.
Real PanelPotential(const Panel& i, const Panel& j, bool grounded, Real ceiling);

// The mean potential over a panel of a unit charge on a ring of wire (radius r, at height z).
Real RingToPanel(const RingPoint& ring, const Panel& panel, Real ceiling);

// The potential coefficients of the panels among themselves: PanelPotential for each pair.
Eigen::Matrix<Real, Eigen::Dynamic, Eigen::Dynamic> PanelMatrix(const std::vector<Panel>& panels,
                                                                bool grounded, Real ceiling);

// The capacitance of the panels' surface held at one potential, grounded or alone.
Real SurfaceCapacitance(const std::vector<Panel>& panels, bool grounded, Real ceiling = 0);

}  // namespace kovaro
