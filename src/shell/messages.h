#pragma once

#include <string>

#include "shell/kovaro_error.h"

namespace kovaro {

// A numeric field's refusal of its text.
class InvalidNumber : public KovaroError {
 public:
  explicit InvalidNumber(const std::string& text) : KovaroError(text + " is not a valid number") {}
  // The refusal of a field that names itself: its caption, then the text quoted.
  InvalidNumber(const std::string& field, const std::string& text)
      : KovaroError(field + ": " + (text.empty() ? std::string("an empty field") : "\"" + text + "\"") +
                    " is not a valid number") {}
};

// An input that a calculation refuses: the message names the field and the rule it breaks.
class InputError : public KovaroError {
 public:
  using KovaroError::KovaroError;
};

// The error box's text: a full stop is added when the message's last character comes after
// "." in character order (letters and digits among them).
std::string WithFullStop(const std::string& message);

}  // namespace kovaro
