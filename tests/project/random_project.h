#pragma once

#include <charconv>
#include <cstring>
#include <random>
#include <string>

#include "project/project.h"
#include "shell/format.h"
#include "shell/numeric_text.h"

// A random project: reals of every size and sign (their texts those of a field set to them,
// or typed otherwise, the value then the typed text's), every check and choice state, a plain design name.
// Where `sane` holds an input, it keeps that value in `keep` of the cases (0 to 1), so that runs of it go
// somewhere.
inline kovaro::Project RandomProject(std::mt19937_64& random, const kovaro::Project* sane = nullptr,
                                     double keep = 0.5) {
  using namespace kovaro;
  Project p;
  for (const ProjectInput& in : ProjectInputs()) {
    InputValue v;
    if (sane != nullptr && std::uniform_real_distribution<double>(0, 1)(random) < keep) {
      p[in.key] = sane->at(in.key);
      continue;
    }
    switch (in.kind) {
      case InputKind::RealValue: {
        Real x = 0;
        switch (random() % 4) {
          case 0: {  // any 80-bit value
            const uint64_t mantissa = random() | (1ull << 63);
            const auto exponent = static_cast<uint16_t>(1 + random() % 32766);
            unsigned char bytes[sizeof(Real)] = {};
            std::memcpy(bytes, &mantissa, 8);
            std::memcpy(bytes + 8, &exponent, 2);
            std::memcpy(&x, bytes, 10);
            break;
          }
          case 1:
            x = std::uniform_real_distribution<double>(-1e6, 1e6)(random);
            break;
          case 2:
            x = random() % 2 ? 1e-4900L : -1e4900L;
            break;
          default:
            x = random() % 2 ? 0.0L : -0.0L;
        }
        if (random() % 2) x = -x;
        v.real = x;
        if (*in.window != '\0') v.text = GeneralText(x);
        if (*in.window != '\0' && random() % 3 == 0) {
          // Typed: blanks before, a sign, the shortest digits in lower case; its value is the
          // text's, as leaving the field makes it.
          char digits[64];
          const auto end =
              std::to_chars(digits, digits + sizeof digits, x, std::chars_format::scientific).ptr;
          std::string typed = (random() % 2 ? "  " : "") + std::string(digits, end);
          if (typed.find('-') == std::string::npos && random() % 2)
            typed.insert(typed.find_first_not_of(' '), "+");
          if (const auto value = ParseReal(typed)) {
            v.text = typed;
            v.real = *value;
          }
        }
        break;
      }
      case InputKind::IntValue:
        v.integer = static_cast<int32_t>(random());
        v.text = FormatInt(v.integer);
        if (random() % 3 == 0) {  // typed in hexadecimal
          v.text = std::string("$").append(std::to_string(random() % 100));
          v.integer = *ParseInt(v.text);
        }
        break;
      case InputKind::Check:
        v.integer = static_cast<int32_t>(random() % 2);
        break;
      case InputKind::Choice:
        v.integer = static_cast<int32_t>(random() % static_cast<uint64_t>(in.choices));
        break;
      case InputKind::Text:
        if (random() % 4 != 0) v.text = std::string("tb").append(std::to_string(random() % 1000000));
        break;
    }
    p[in.key] = v;
  }
  return p;
}
