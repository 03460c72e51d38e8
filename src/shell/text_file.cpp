#include "shell/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
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

constexpr int kMostLinks = 40;   // as the system follows them
constexpr int kNotRegular = -1;  // not an errno: the name is neither a file nor a device

}  // namespace

TextFile::TextFile(const std::string& name, bool named) : shown_(named ? name : std::string()), name_(name) {
  name_ = LinkedFile(name);
  struct stat st {};
  if (::stat(name_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    // A character device (a terminal, /dev/null, /dev/full) is written as it is, without
    // waiting; anything else that is not a file cannot be replaced by one, nor written safely.
    if (!S_ISCHR(st.st_mode)) Throw(kNotRegular);
    const int fd = ::open(name_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) Throw(errno);
    if ((file_ = ::fdopen(fd, "wb")) == nullptr) {
      const int err = errno;
      ::close(fd);
      Throw(err);
    }
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

std::string TextFile::LinkedFile(const std::string& name) const {
  // Through links to the file they name, even one not there yet, so that a link stays a link.
  std::string path = name;
  for (int hops = 0; hops < kMostLinks; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::vector<char> target(static_cast<size_t>(PATH_MAX) + 1);
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size() - 1);
    if (length < 0) Throw(errno);
    std::string next(target.data(), static_cast<size_t>(length));
    const size_t slash = path.rfind('/');
    if (next.front() != '/' && slash != std::string::npos) next = path.substr(0, slash + 1) + next;
    path = next;
  }
  Throw(ELOOP);
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
  const std::string why = err == kNotRegular ? "not a regular file" : FileErrorText(err);
  if (shown_.empty()) throw FileError(why);
  throw FileError("Cannot write " + shown_ + ": " + why);
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
