#include "shell/file_error.h"

#include <cerrno>

namespace kovaro {

std::string FileErrorText(int err) {
  switch (err) {
    case EACCES:
    case EPERM:
    case EROFS:
      return "File access denied";
    case ENOSPC:
      return "Disk full";
    case ENOENT:
      return "File not found";
    case ENAMETOOLONG:
      return "File name too long";
    default:
      return "I/O error " + std::to_string(err);
  }
}

void ThrowFileError(int err) { throw FileError(FileErrorText(err)); }

}  // namespace kovaro
