#pragma once

#include <stdexcept>

namespace kovaro {

// What ends a user action with the error box: an arithmetic fault, a file error, a refused
// field text or a refused input. The message is the box's text.
class KovaroError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kovaro
