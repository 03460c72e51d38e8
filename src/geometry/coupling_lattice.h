#pragma once

#include <cstdint>
#include <vector>

#include "geometry/filament.h"

namespace kovaro {

// The mutual inductance of a primary and a secondary with the primary's rings moved to the
// heights lowest + m * pitch, m = 0 .. count - 1, where pitch is the secondary's. At those
// heights a primary ring meets the secondary's whole turns at the same distances, shifted by
// whole turns, so each of those filament pairs is computed once for every height; the
// secondary's partial turn, if any, is added for each height asked for.
class CouplingLattice {
 public:
  // `primary` at height 0, `secondary` as its winding lays it from height 0 with `pitch`.
  CouplingLattice(const std::vector<Ring>& primary, const std::vector<Ring>& secondary, Real pitch,
                  Real lowest, int32_t count);

  int32_t Count() const { return static_cast<int32_t>(whole_.size()); }
  Real Height(int32_t m) const { return lowest_ + m * pitch_; }
  Real Mutual(int32_t m) const;

 private:
  std::vector<Ring> primary_;
  Real pitch_;
  Real lowest_;
  std::vector<Real> whole_;  // the whole turns' share at each height
  bool partial_ = false;     // the secondary's last turn is partial
  Ring last_{};
};

}  // namespace kovaro
