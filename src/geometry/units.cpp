#include "geometry/units.h"

#include <cmath>

namespace kovaro {

std::string UnitName(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::Metre:
      return "m";
    case LengthUnit::Millimetre:
      return "mm";
    case LengthUnit::Inch:
      return "in";
  }
  return "m";
}

Real MetresPer(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::Metre:
      return 1;
    case LengthUnit::Millimetre:
      return 0.001L;
    case LengthUnit::Inch:
      return 0.0254L;
  }
  return 1;
}

Real GaugeOfChoice(int32_t choice) { return 4 + (choice - 1) / 2.0L; }

Real AwgDiameter(Real gauge) { return 0.127e-3L * std::pow(92.0L, (36 - gauge) / 39); }

}  // namespace kovaro
