#include "geometry/field_solve.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "geometry/close_wires.h"
#include "geometry/filament.h"
#include "geometry/ring_charge.h"
#include "geometry/surface_panels.h"
#include "shell/float_error.h"

namespace kovaro {
namespace {

using Matrix = Eigen::Matrix<Real, Eigen::Dynamic, Eigen::Dynamic>;
using Vector = Eigen::Matrix<Real, Eigen::Dynamic, 1>;

// The number of pairs (i, j), i in [i0, i1) and j in [j0, j1), with j - i = delta, or with
// i + j = delta for `sum`: the overlap of one range with the other shifted.
int64_t Pairs(int64_t i0, int64_t i1, int64_t j0, int64_t j1, int64_t delta, bool sum) {
  const int64_t lo = sum ? std::max(i0, delta - (j1 - 1)) : std::max(i0, j0 - delta);
  const int64_t hi = sum ? std::min(i1 - 1, delta - j0) : std::min(i1 - 1, j1 - 1 - delta);
  return std::max<int64_t>(0, hi - lo + 1);
}

// The sum of kernel[j - i] (or kernel[i + j]) over a block of turns, a term for each distinct
// difference (sum): the block's turns are consecutive.
Real BlockSum(const std::vector<Real>& kernel, int64_t i0, int64_t i1, int64_t j0, int64_t j1, bool sum) {
  Real total = 0;
  const int64_t from = sum ? i0 + j0 : j0 - (i1 - 1);
  const int64_t to = sum ? i1 + j1 - 2 : j1 - 1 - i0;
  for (int64_t d = from; d <= to; ++d) {
    const int64_t count = Pairs(i0, i1, j0, j1, d, sum);
    if (count > 0) total += static_cast<Real>(count) * kernel[static_cast<size_t>(sum ? d : std::llabs(d))];
  }
  return total;
}

// A section of the coil: its whole turns [first, last) and the partial turns at its ends with
// their weights.
struct Section {
  int64_t first;
  int64_t last;
  std::vector<std::pair<int64_t, Real>> partial;
};

std::vector<Section> Sections(int64_t turns, int32_t count) {
  std::vector<Section> sections(static_cast<size_t>(count));
  for (int32_t s = 0; s < count; ++s) {
    const Real from = static_cast<Real>(turns) * s / count;
    const Real to = static_cast<Real>(turns) * (s + 1) / count;
    Section& section = sections[static_cast<size_t>(s)];
    section.first = static_cast<int64_t>(std::ceil(from));
    section.last = static_cast<int64_t>(std::floor(to));
    if (section.first > section.last) {  // within one turn
      section.partial.push_back({section.last, to - from});
      section.first = section.last = 0;
      continue;
    }
    if (from < section.first) section.partial.push_back({section.first - 1, section.first - from});
    if (to > section.last) section.partial.push_back({section.last, to - section.last});
  }
  return sections;
}

// The inductance between two sections from the turns' Toeplitz matrix.
Real SectionInductance(const std::vector<Real>& mutual, const Section& s, const Section& t) {
  Real sum =
      s.last > s.first && t.last > t.first ? BlockSum(mutual, s.first, s.last, t.first, t.last, false) : 0;
  const auto whole_with = [&](const Section& whole, int64_t turn) {
    return whole.last > whole.first ? BlockSum(mutual, turn, turn + 1, whole.first, whole.last, false) : 0;
  };
  for (const auto& [turn, w] : s.partial) sum += w * whole_with(t, turn);
  for (const auto& [turn, w] : t.partial) sum += w * whole_with(s, turn);
  for (const auto& [i, wi] : s.partial)
    for (const auto& [j, wj] : t.partial) sum += wi * wj * mutual[static_cast<size_t>(std::llabs(i - j))];
  return sum;
}

// The first turn of each charge unknown, and n after the last: a turn each near the coil's
// ends, where the charge along it changes fastest, and more turns together towards its middle,
// growing with the distance from the nearer end, so that there are at most `most`.
std::vector<int64_t> ChargeGroups(int64_t n, int32_t most) {
  std::vector<int64_t> starts;
  for (Real step = 1;; step *= 1.1L) {
    starts.assign(1, 0);
    while (starts.back() < n) {
      const int64_t at = starts.back();
      const Real from_end = static_cast<Real>(std::min(at, n - at));
      const auto size =
          std::max<int64_t>(1, static_cast<int64_t>(1 + from_end * (step - 1) / static_cast<Real>(n)));
      starts.push_back(std::min(n, at + size));
    }
    if (static_cast<int64_t>(starts.size()) - 1 <= most) return starts;
  }
}

// The node capacitance matrix and the inductance matrix give the modes: with A the sections'
// incidence on the nodes, (A C^-1 A') I = w^2 L I.
FieldModes Modes(const Matrix& C, const Matrix& L) {
  const Eigen::Index M = C.rows();
  Matrix A = Matrix::Zero(M, M);
  for (Eigen::Index s = 0; s < M; ++s) {
    A(s, s) = 1;
    if (s > 0) A(s, s - 1) = -1;
  }
  const Eigen::LLT<Matrix> c(C);
  if (c.info() != Eigen::Success) throw FloatError(kInvalidOperation);
  const Matrix Y = c.solve(A.transpose());
  Matrix K = A * Y;
  K = (K + K.transpose()) / 2;
  const Eigen::GeneralizedSelfAdjointEigenSolver<Matrix> solver(K, L);
  if (solver.info() != Eigen::Success) throw FloatError(kInvalidOperation);
  FieldModes modes;
  for (Eigen::Index i = 0; i < std::min<Eigen::Index>(M, 6); ++i)
    modes.f.push_back(Sqrt(solver.eigenvalues()(i)) / (2 * kPi));
  const Vector I = solver.eigenvectors().col(0);
  const Vector V = Y * I;  // over j w
  modes.voltage.push_back(0);
  for (Eigen::Index k = 0; k < M; ++k) modes.voltage.push_back(Div(V(k), V(M - 1)));
  const Real largest = I.cwiseAbs().maxCoeff();
  for (Eigen::Index k = 0; k < M; ++k) modes.current.push_back(std::fabs(I(k)) / largest);
  return modes;
}

}  // namespace

FieldSolution SolveField(const FieldModel& model) {
  const CoilGeometry& g = model.geometry;
  const Secondary& s = g.secondary;
  const int64_t n = std::max<int64_t>(1, std::llround(s.turns));
  const Real pitch = s.height / s.turns;
  const Real a = s.diameter / 2;
  const Real rw = s.wire / 2;
  const Real H = g.ceiling;
  // No more sections than turns: a section without a turn's charge of its own would leave the
  // node capacitance matrix singular.
  const auto M = static_cast<Eigen::Index>(std::min<int64_t>(model.sections, n));
  const auto z = [&](int64_t i) { return s.base + (static_cast<Real>(i) + 0.5L) * pitch; };

  // Inductance: the turns' matrix depends on their distance alone.
  std::vector<Real> mutual(static_cast<size_t>(n));
  mutual[0] = LoopInductance(a, rw, 0.25L);
  for (int64_t k = 1; k < n; ++k)
    mutual[static_cast<size_t>(k)] = FilamentMutual(a, a, static_cast<Real>(k) * pitch);
  const std::vector<Section> sections = Sections(n, static_cast<int32_t>(M));
  Matrix L(M, M);
  for (Eigen::Index i = 0; i < M; ++i)
    for (Eigen::Index j = 0; j <= i; ++j)
      L(i, j) = L(j, i) =
          SectionInductance(mutual, sections[static_cast<size_t>(i)], sections[static_cast<size_t>(j)]);

  // Potentials: the direct term and the ceiling's images by the turns' distance, the floor's
  // and the ceiling's others by the sum of their heights; a turn on itself at the wire's
  // surface.
  // A coil form inside the winding polarizes near the wires: a wire on a dielectric slab has
  // the images of the plane slab, -k q mirrored across its surface and (1 - k^2) k^(2m-1) q
  // a further 2 m wall thicknesses in, k = (er - 1) / (er + 1), here as rings. Their charges
  // sum to 0, as a slab's far field does; the series ends before the axis, its rest in the
  // last ring. A wire too thick beside the coil's radius for a plane slab's first two images
  // gets none.
  std::vector<std::pair<Real, Real>> form;  // radius and charge of each image
  if (g.form_wall > 0 && g.form_permittivity > 1 && a - 2 * rw > a / 4) {
    const Real kappa = (g.form_permittivity - 1) / (g.form_permittivity + 1);
    form.push_back({a - 2 * rw, -kappa});
    Real total = -kappa;
    for (int32_t m = 1; m <= 3 && a - 2 * rw - 2 * m * g.form_wall > a / 4; ++m) {
      const Real charge = (1 - kappa * kappa) * std::pow(kappa, 2 * m - 1);
      form.push_back({a - 2 * rw - 2 * m * g.form_wall, charge});
      total += charge;
    }
    if (form.size() > 1) {
      form.back().second -= total;
    } else {
      form.clear();
    }
  }
  std::vector<Real> difference(static_cast<size_t>(n));
  std::vector<Real> sum(static_cast<size_t>(2 * n - 1));
  for (int64_t k = 0; k < n; ++k) {
    const Real dz = static_cast<Real>(k) * pitch;
    Real v = RingPotential(a, a, k == 0 ? rw : dz) + ImagesOfDifference(a, a, dz, H);
    for (const auto& [radius, charge] : form) v += charge * RingPotential(radius, a, dz);
    difference[static_cast<size_t>(k)] = v;
  }
  for (int64_t m = 0; m < 2 * n - 1; ++m)
    sum[static_cast<size_t>(m)] = ImagesOfSum(a, a, 2 * s.base + (static_cast<Real>(m) + 1) * pitch, H);

  // Charges: neighbouring turns share one beyond the most asked for.
  const std::vector<int64_t> starts = ChargeGroups(n, model.most_charges);
  const auto groups = static_cast<int64_t>(starts.size()) - 1;
  const auto G = static_cast<Eigen::Index>(groups);
  const auto first = [&](int64_t c) { return starts[static_cast<size_t>(c)]; };
  const auto end = [&](int64_t c) { return starts[static_cast<size_t>(c) + 1]; };
  Matrix P(G, G);
  for (int64_t c = 0; c < groups; ++c) {
    for (int64_t d = 0; d <= c; ++d) {
      const Real count = static_cast<Real>((end(c) - first(c)) * (end(d) - first(d)));
      const Real v = (BlockSum(difference, first(c), end(c), first(d), end(d), false) -
                      BlockSum(sum, first(c), end(c), first(d), end(d), true)) /
                     count;
      P(c, d) = P(d, c) = v;
    }
  }

  // Each turn's potential from its section's two ends, linearly; node 0 is the grounded base.
  Matrix T = Matrix::Zero(static_cast<Eigen::Index>(n), M);
  for (int64_t i = 0; i < n; ++i) {
    const Real u = (static_cast<Real>(i) + 0.5L) * static_cast<Real>(M) / static_cast<Real>(n);
    const auto k = std::min<Eigen::Index>(static_cast<Eigen::Index>(u), M - 1);
    const Real t = u - static_cast<Real>(k);
    if (k > 0) T(i, k - 1) += 1 - t;
    T(i, k) += t;
  }
  Matrix Tg = Matrix::Zero(G, M);
  for (int64_t c = 0; c < groups; ++c) Tg.row(c) = T.middleRows(first(c), end(c) - first(c)).colwise().mean();

  const Eigen::LLT<Matrix> coil(P);
  if (coil.info() != Eigen::Success) throw FloatError(kInvalidOperation);
  const Matrix Y = coil.solve(Tg);
  Matrix C = Tg.transpose() * Y;
  // Where neighbouring wires nearly touch, the capacitance between them that rings on their
  // axes miss; a coil form inside the winding puts part of that field in its dielectric.
  Real close = kEpsilon0 * kPi * s.diameter * CloseWireFactor(pitch / s.wire);
  if (g.form_wall > 0 && g.form_permittivity > 1)
    close *= 1 + (g.form_permittivity - 1) * std::fmin(1, g.form_wall / pitch) / 2;
  for (int64_t i = 0; i + 1 < n; ++i) {
    // The difference of two neighbours' rows: at most three nodes.
    const Eigen::Index lo =
        std::max<Eigen::Index>(0, static_cast<Eigen::Index>((static_cast<Real>(i) + 0.5L) *
                                                            static_cast<Real>(M) / static_cast<Real>(n)) -
                                      1);
    const Eigen::Index hi = std::min<Eigen::Index>(M - 1, lo + 3);
    for (Eigen::Index p = lo; p <= hi; ++p) {
      const Real dp = T(i, p) - T(i + 1, p);
      if (dp == 0) continue;
      for (Eigen::Index q = lo; q <= hi; ++q) C(p, q) += close * dp * (T(i, q) - T(i + 1, q));
    }
  }

  FieldSolution solution{Modes(C, L), std::nullopt, L.sum()};
  if (g.topload == Topload::None) return solution;

  // The topload's bands join the coil's charges at the top's potential; eliminating the coil's
  // charges first, the bands add B' S^-1 B to the coil's capacitance matrix.
  const Real centre = s.base + s.height + g.top_height;
  const std::vector<Panel> bands = g.topload == Topload::Toroid
                                       ? TorusPanels((g.top_major - g.top_minor) / 2, g.top_minor / 2, centre,
                                                     model.bands, model.band_rings)
                                       : SpherePanels(g.top_major / 2, centre, model.bands, model.band_rings);
  const auto np = static_cast<Eigen::Index>(bands.size());
  const Matrix Pbb = PanelMatrix(bands, true, H);
  Matrix Pbc(np, G);
  for (Eigen::Index b = 0; b < np; ++b) {
    for (int64_t c = 0; c < groups; ++c) {
      Real v = 0;
      for (int64_t i = first(c); i < end(c); ++i)
        v += RingToPanel({a, z(i)}, bands[static_cast<size_t>(b)], H);
      Pbc(b, c) = v / static_cast<Real>(end(c) - first(c));
    }
  }
  const Matrix X = coil.solve(Pbc.transpose());
  Matrix S = Pbb - Pbc * X;
  S = (S + S.transpose()) / 2;
  Matrix B = Pbc * Y;
  B.col(M - 1).array() -= 1;
  const Eigen::LLT<Matrix> top(S);
  if (top.info() != Eigen::Success) throw FloatError(kInvalidOperation);
  const Matrix loaded = C + B.transpose() * top.solve(B);
  solution.loaded = Modes(loaded, L);
  return solution;
}

}  // namespace kovaro
