#pragma once

#include <string>

#include "shell/kovaro_error.h"

namespace kovaro {

// A file that could not be created or written; the message is the platform's text.
class FileError : public KovaroError {
 public:
  using KovaroError::KovaroError;
};

// "File access denied", "Disk full", "File not found", "File name too long" or "I/O error N".
std::string FileErrorText(int err);

[[noreturn]] void ThrowFileError(int err);

}  // namespace kovaro
