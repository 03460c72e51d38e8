#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "geometry/coil_geometry.h"

namespace kovaro {

// The secondary as a field problem: its turns as coaxial rings over the grounded floor (and
// under a grounded ceiling when one is given), grouped into sections of a ladder network with
// the turns' inductance and capacitance matrices; the topload as bands of charge on its surface
// at the top's potential. How finely: the sections, the topload's bands and the rings of each
// band, and the most charge unknowns along the coil (neighbouring turns share one beyond it).
struct FieldModel {
  CoilGeometry geometry;
  int32_t sections = 40;
  int32_t bands = 48;
  int32_t band_rings = 2;
  int32_t most_charges = 100;
};

// A solve's modes: the lowest resonances (f1, f3, f5, ... of the quarter-wave coil), and the
// first mode along the coil from the base: the voltage at each section's end over the top's,
// the current in each section over the largest.
struct FieldModes {
  std::vector<Real> f;
  std::vector<Real> voltage;
  std::vector<Real> current;
};

// The coil bare and, with a topload, loaded; and the sum of the inductance matrix (the coil's
// low-frequency inductance).
struct FieldSolution {
  FieldModes bare;
  std::optional<FieldModes> loaded;
  Real inductance;
};

FieldSolution SolveField(const FieldModel& model);

}  // namespace kovaro
