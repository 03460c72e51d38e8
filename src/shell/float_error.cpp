#include "shell/float_error.h"

#include "shell/format.h"

namespace kovaro {

std::string FormatReal(CReal x, int32_t width, int32_t decimals) {
  return FormatReal(x.value(), width, decimals);
}

void ThrowFaultOf(Real r) { throw FloatError(std::isnan(r) ? kInvalidOperation : kOverflow); }

}  // namespace kovaro
