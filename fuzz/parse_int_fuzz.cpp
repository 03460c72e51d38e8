// Any text through the integer-field grammar: an accepted value's decimal text reads back as
// the same value.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/format.h"
#include "shell/numeric_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto value = kovaro::ParseInt(text);
  if (!value) return 0;
  const auto back = kovaro::ParseInt(kovaro::FormatInt(*value));
  if (!back || *back != *value) std::abort();
  return 0;
}
