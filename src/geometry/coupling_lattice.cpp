#include "geometry/coupling_lattice.h"

#include "shell/float_error.h"

namespace kovaro {

CouplingLattice::CouplingLattice(const std::vector<Ring>& primary, const std::vector<Ring>& secondary,
                                 Real pitch, Real lowest, int32_t count)
    : primary_(primary), pitch_(pitch), lowest_(lowest), whole_(static_cast<size_t>(count), 0) {
  auto whole = static_cast<int32_t>(secondary.size());
  if (whole > 0 && secondary.back().w < 1) {
    partial_ = true;
    last_ = secondary.back();
    --whole;
  }
  if (whole == 0) return;
  const Real a = secondary.front().r;
  // Turn j of the secondary sits at (j + 1/2) pitch; seen from a ring at z + lowest + m pitch
  // it is at (k + 1/2) pitch - (z + lowest), k = j - m, for k from 1 - count to whole - 1.
  const size_t span = static_cast<size_t>(whole) + static_cast<size_t>(count) - 1;
  std::vector<Real> sums(span + 1);
  for (const Ring& p : primary_) {
    const Real start = p.z + lowest;
    sums[0] = 0;
    for (size_t i = 0; i < span; ++i) {
      const Real k = static_cast<Real>(i) - static_cast<Real>(count - 1);
      sums[i + 1] = sums[i] + FilamentMutual(p.r, a, (k + 0.5L) * pitch - start);
    }
    // Height m sees k from -m to whole - 1 - m: the sums up to there, less those below.
    for (int32_t m = 0; m < count; ++m) {
      const auto below = static_cast<size_t>(count - 1 - m);
      whole_[static_cast<size_t>(m)] += p.w * (sums[below + static_cast<size_t>(whole)] - sums[below]);
    }
  }
}

Real CouplingLattice::Mutual(int32_t m) const {
  Real sum = whole_[static_cast<size_t>(m)];
  if (partial_) {
    const Real height = Height(m);
    for (const Ring& p : primary_)
      sum += p.w * last_.w * FilamentMutual(p.r, last_.r, last_.z - (p.z + height));
  }
  return Ck(sum);
}

}  // namespace kovaro
