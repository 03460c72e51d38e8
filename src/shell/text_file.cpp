#include "shell/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "shell/file_error.h"

namespace kovaro {
namespace {

// The mode a new file gets, or the one the replaced file has.
mode_t ModeFor(const std::string& name) {
  struct stat old {};
  if (::stat(name.c_str(), &old) == 0) return old.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

int ErrorOr(int err) { return err != 0 ? err : EIO; }

}  // namespace

TextFile::TextFile(const std::string& name, bool named) : shown_(named ? name : std::string()), name_(name) {
  // Through a link to the file it names, so that the link stays a link.
  struct stat st {};
  if (::lstat(name.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* target = ::realpath(name.c_str(), nullptr)) {
      name_ = target;
      std::free(target);
    }
  }
  // A device or a pipe is written as it is: it cannot be replaced by a file.
  if (::stat(name_.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    file_ = std::fopen(name_.c_str(), "wb");
    if (file_ == nullptr) Throw(errno);
    return;
  }
  if (::access(name_.c_str(), F_OK) == 0 && ::access(name_.c_str(), W_OK) != 0) Throw(errno);
  const size_t slash = name_.rfind('/');
  temp_ = (slash == std::string::npos ? std::string() : name_.substr(0, slash + 1)) + ".kovaro-XXXXXX";
  std::vector<char> pattern(temp_.begin(), temp_.end());
  pattern.push_back('\0');
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) Throw(errno);
  temp_ = pattern.data();
  if (::fchmod(fd, ModeFor(name_)) != 0 || (file_ = ::fdopen(fd, "wb")) == nullptr) {
    const int err = errno;
    ::close(fd);
    Fail(err);
  }
}

TextFile::~TextFile() {
  if (file_ == nullptr) return;
  std::fclose(file_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

void TextFile::Fail(int err) {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  Throw(ErrorOr(err));
}

void TextFile::Throw(int err) const {
  if (shown_.empty()) ThrowFileError(err);
  throw FileError("Cannot write " + shown_ + ": " + FileErrorText(err));
}

void TextFile::Write(std::string_view bytes) {
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) Fail(errno);
}

void TextFile::WriteLine(std::string_view text) {
  Write(text);
  Write("\r\n");
}

void TextFile::Close() {
  errno = 0;
  if (temp_.empty()) {
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) Fail(errno);
    return;
  }
  // On disk before the rename, so that the name never stands for a file still being written.
  if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) Fail(errno);
  std::FILE* f = file_;
  file_ = nullptr;
  if (std::fclose(f) != 0 || ::rename(temp_.c_str(), name_.c_str()) != 0) Fail(errno);
}

void WriteWholeFile(const std::string& name, std::string_view bytes, bool named) {
  TextFile file(name, named);
  file.Write(bytes);
  file.Close();
}

}  // namespace kovaro
