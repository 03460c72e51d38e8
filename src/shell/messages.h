#pragma once

#include <stdexcept>
#include <string>

namespace kovaro {

// A numeric field's refusal of its text.
class InvalidNumber : public std::runtime_error {
 public:
  explicit InvalidNumber(const std::string& text) : std::runtime_error(text + " is not a valid number") {}
};

// An input that a calculation refuses: the message names the field and the rule it breaks.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The error box's text: a full stop is added when the message's last character comes after
// "." in character order (letters and digits among them).
std::string WithFullStop(const std::string& message);

}  // namespace kovaro
