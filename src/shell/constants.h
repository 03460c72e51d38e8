#pragma once

#include "shell/real.h"

namespace kovaro {

// Numeric constants, as long double literals so that no digit is lost to a double.
inline constexpr Real kPi = 3.1415926535897932385L;
inline constexpr Real kTwoPi = 6.283185307179586477L;
inline constexpr Real kFourOverPi = 1.2732395447351626862L;

}  // namespace kovaro
