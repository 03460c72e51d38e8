#include "shell/float_error.h"

namespace kovaro {

void ThrowFaultOf(Real r) { throw FloatError(std::isnan(r) ? kInvalidOperation : kOverflow); }

}  // namespace kovaro
