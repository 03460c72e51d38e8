#include "simulation/circuit.h"

#include <stdexcept>
#include <string>

#include "shell/float_error.h"

namespace kovaro {

void CheckZeroEntries(const CircuitSystem& c) {
  const auto fail = [](const std::string& entry) {
    throw std::logic_error(entry +
                           " of the circuit's equations is not zero, but the steppers leave its term out");
  };
  for (int32_t i = 0; i < 4; ++i) {
    for (int32_t j = 0; j < 4; ++j) {
      if (kZeroEntries.A[i][j] && c.A[i][j] != 0)
        fail("A[" + std::to_string(i) + "][" + std::to_string(j) + "]");
    }
    if (kZeroEntries.B[i] && c.B[i] != 0) fail("B[" + std::to_string(i) + "]");
  }
}

CircuitSystem BuildCircuit(const ElementSet& el, bool no_load) {
  CircuitSystem c;
  const Real la_lb = Ck(el.La * el.Lb);
  c.M = Ck(el.kab * Sqrt(la_lb));
  c.D = Ck(la_lb - Ck(c.M * c.M));
  c.G11 = Div(el.Lb, c.D);
  c.G22 = Div(el.La, c.D);
  c.G12 = Div(-c.M, c.D);
  const Real r_primary = Ck(el.RLa + el.Rin);
  Matrix4& a = c.A;
  a[0] = {0, Div(1, el.Ca), 0, 0};
  a[1] = {-c.G11, Ck(-c.G11 * r_primary), c.G12, Ck(-c.G12 * el.RLb)};
  a[2] = {0, 0, no_load ? 0 : Div(-1, Ck(el.Rb * el.Cb)), Div(-1, el.Cb)};
  a[3] = {-c.G12, Ck(-c.G12 * r_primary), c.G22, Ck(-c.G22 * el.RLb)};
  c.B = {0, c.G11, 0, c.G12};
  CheckZeroEntries(c);
  return c;
}

}  // namespace kovaro
