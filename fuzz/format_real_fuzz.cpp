// FormatReal with any real (NaN, infinities and subnormals included), width and decimals:
// the text is never shorter than the width (up to 255) and a scientific text reads back
// (except one rounded up beyond the largest real).

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/format.h"
#include "shell/numeric_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 10 + 2 * sizeof(int32_t)) return 0;
  long double x = 0;
  std::memcpy(&x, data, 10);
  int32_t width = 0;
  int32_t decimals = 0;
  std::memcpy(&width, data + 10, sizeof width);
  std::memcpy(&decimals, data + 10 + sizeof width, sizeof decimals);
  width %= 300;
  decimals = decimals % 300;
  const std::string text = kovaro::FormatReal(x, width, decimals);
  if (static_cast<int32_t>(text.size()) < std::min(width, 255)) std::abort();
  if (decimals < 0 && std::isfinite(x)) {
    const auto back = kovaro::ParseReal(text.substr(text.find_first_not_of(' ')));
    // Only a value at the very top of the range may print rounded up beyond it.
    if (!back && std::fabs(x) < 1E4932L) std::abort();
    if (!back) return 0;
    if (x != 0 && std::isnormal(x) && std::fabs(*back - x) > std::fabs(x) * 0.2L) std::abort();
  }
  return 0;
}
