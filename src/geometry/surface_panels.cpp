#include "geometry/surface_panels.h"

#include <Eigen/Dense>
#include <cmath>
#include <functional>

#include "shell/constants.h"

namespace kovaro {
namespace {

using Matrix = Eigen::Matrix<Real, Eigen::Dynamic, Eigen::Dynamic>;
using Vector = Eigen::Matrix<Real, Eigen::Dynamic, 1>;

// Bands of equal width along a generating curve given by its angle, each of `sub` rings whose
// shares follow their circumference.
std::vector<Panel> Bands(const std::function<RingPoint(Real)>& at, Real from, Real to, Real length,
                         int32_t count, int32_t sub) {
  std::vector<Panel> panels(static_cast<size_t>(count));
  const Real step = (to - from) / count;
  for (int32_t p = 0; p < count; ++p) {
    Panel& panel = panels[static_cast<size_t>(p)];
    panel.extent = length / count;
    panel.width = panel.extent / sub;
    panel.centre = at(from + (p + 0.5L) * step);
    Real total = 0;
    for (int32_t s = 0; s < sub; ++s) {
      const RingPoint ring = at(from + (p + (s + 0.5L) / sub) * step);
      panel.rings.push_back(ring);
      panel.share.push_back(ring.r);
      total += ring.r;
    }
    for (Real& share : panel.share) share /= total;
  }
  return panels;
}

// The mean of ln|x - y| over two bands of width s along a line whose centres are d apart:
// (F(d + s) - 2 F(d) + F(d - s)) / s^2 with F(u) = u^2 (ln|u| - 3/2) / 2.
Real MeanLogDistance(Real d, Real s) {
  const auto F = [](Real u) { return u == 0 ? 0 : u * u * (std::log(std::fabs(u)) - 1.5L) / 2; };
  return (F(d + s) - 2 * F(d) + F(d - s)) / (s * s);
}

// The rings' mean distance across their bands replaces their centres' distance within 30
// band widths: the centres' distance is short by a share of s^2 / (12 d^2), which summed
// over the neighbours of every band would leave an error proportional to the band width.
Real Near(const RingPoint& a, const RingPoint& b, Real s) {
  const Real d = std::hypot(b.r - a.r, b.z - a.z);
  return d < 30 * s ? std::exp(MeanLogDistance(d, s)) : 0;
}

}  // namespace

std::vector<Panel> TorusPanels(Real R, Real a, Real zc, int32_t count, int32_t sub) {
  return Bands(
      [&](Real t) {
        return RingPoint{R + a * std::cos(t), zc + a * std::sin(t)};
      },
      0, 2 * kPi, 2 * kPi * a, count, sub);
}

std::vector<Panel> SpherePanels(Real a, Real zc, int32_t count, int32_t sub) {
  return Bands(
      [&](Real t) {
        return RingPoint{a * std::cos(t), zc + a * std::sin(t)};
      },
      -kPi / 2, kPi / 2, kPi * a, count, sub);
}

Real PanelPotential(const Panel& i, const Panel& j, bool grounded, Real ceiling) {
  Real sum = 0;
  for (size_t a = 0; a < i.rings.size(); ++a) {
    for (size_t b = 0; b < j.rings.size(); ++b) {
      const Real near = Near(i.rings[a], j.rings[b], i.width);
      const Real v = grounded ? GroundedPotential(i.rings[a], j.rings[b], ceiling, near)
                              : FreePotential(i.rings[a], j.rings[b], near);
      sum += i.share[a] * j.share[b] * v;
    }
  }
  return sum;
}

Real RingToPanel(const RingPoint& ring, const Panel& panel, Real ceiling) {
  // Far from the band its centre stands for it.
  const Real d = std::hypot(panel.centre.r - ring.r, panel.centre.z - ring.z);
  if (d > 4 * panel.extent) return GroundedPotential(ring, panel.centre, ceiling);
  Real sum = 0;
  for (size_t b = 0; b < panel.rings.size(); ++b)
    sum += panel.share[b] * GroundedPotential(ring, panel.rings[b], ceiling);
  return sum;
}

Matrix PanelMatrix(const std::vector<Panel>& panels, bool grounded, Real ceiling) {
  const auto n = static_cast<Eigen::Index>(panels.size());
  Matrix P(n, n);
  for (Eigen::Index i = 0; i < n; ++i)
    for (Eigen::Index j = 0; j <= i; ++j)
      P(i, j) = P(j, i) =
          PanelPotential(panels[static_cast<size_t>(i)], panels[static_cast<size_t>(j)], grounded, ceiling);
  return P;
}

Real SurfaceCapacitance(const std::vector<Panel>& panels, bool grounded, Real ceiling) {
  const Vector q = PanelMatrix(panels, grounded, ceiling)
                       .llt()
                       .solve(Vector::Ones(static_cast<Eigen::Index>(panels.size())));
  return q.sum();
}

}  // namespace kovaro
