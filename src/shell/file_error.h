#pragma once

#include <stdexcept>
#include <string>

namespace kovaro {

// A file that could not be created or written; the message is the platform's text.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "File access denied", "Disk full", "File not found" or "I/O error N".
std::string FileErrorText(int err);

[[noreturn]] void ThrowFileError(int err);

}  // namespace kovaro
