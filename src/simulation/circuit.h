#pragma once

#include <array>

#include "elements/element_set.h"
#include "shell/real.h"

namespace kovaro {

using Vector4 = std::array<Real, 4>;
using Matrix4 = std::array<Vector4, 4>;

// Indices of the state variables in x, y, z and StateMaxima.
enum State : int32_t { StVCa = 0, StILa = 1, StVCb = 2, StILb = 3 };

// The circuit's state equations x' = A x + B u, with x = (VCa, ILa, VCb, ILb) and u the
// driver's source voltage behind Rin; M, D and the inverse inductance matrix G on the way.
struct CircuitSystem {
  Real M = 0;
  Real D = 0;
  Real G11 = 0;
  Real G22 = 0;
  Real G12 = 0;
  Matrix4 A{};
  Vector4 B{};
};

// The entries of A and B that are zero for every set of elements: Ca's voltage follows La's
// current alone, Cb's is not driven by the primary, and the source drives the inductors only.
// Both steppers leave these terms out of their sums (exact, as the plain step explains).
struct ZeroEntries {
  bool A[4][4];
  bool B[4];
};
inline constexpr ZeroEntries kZeroEntries{{{true, false, true, true},
                                           {false, false, false, false},
                                           {true, true, false, false},
                                           {false, false, false, false}},
                                          {true, false, true, false}};

// Throws std::logic_error naming the first entry that kZeroEntries calls zero and c does not:
// a change to the equations that the steppers would silently drop.
void CheckZeroEntries(const CircuitSystem& c);

// Faults as the run reports them, in the order of its steps.
CircuitSystem BuildCircuit(const ElementSet& el, bool no_load);

}  // namespace kovaro
