#include "shell/text_file.h"

#include <cerrno>

#include "shell/file_error.h"

namespace kovaro {

TextFile::TextFile(const std::string& name) : file_(std::fopen(name.c_str(), "wb")) {
  if (file_ == nullptr) ThrowFileError(errno);
}

TextFile::~TextFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void TextFile::WriteLine(std::string_view text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() ||
      std::fwrite("\r\n", 1, 2, file_) != 2) {
    ThrowFileError(errno != 0 ? errno : EIO);
  }
}

void TextFile::Close() {
  std::FILE* f = file_;
  file_ = nullptr;
  errno = 0;
  if (std::fclose(f) != 0) ThrowFileError(errno != 0 ? errno : EIO);
}

void WriteWholeFile(const std::string& name, std::string_view bytes) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (f == nullptr) ThrowFileError(errno);
  errno = 0;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int write_error = errno;
  errno = 0;
  const bool closed = std::fclose(f) == 0;
  if (!written) ThrowFileError(write_error != 0 ? write_error : EIO);
  if (!closed) ThrowFileError(errno != 0 ? errno : EIO);
}

}  // namespace kovaro
