// Any text through the real-field grammar: an accepted text holds a finite value whose
// general text is accepted again and stands for a value within half a unit of its 15th digit.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/numeric_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto value = kovaro::ParseReal(text);
  if (!value) return 0;
  if (!std::isfinite(*value)) std::abort();
  const auto back = kovaro::ParseReal(kovaro::GeneralText(*value));
  if (!back) std::abort();
  if (*value != 0 && std::fabs(*back - *value) > std::fabs(*value) * 1E-14L) std::abort();
  return 0;
}
