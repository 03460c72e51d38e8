#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kovaro {

// A file in the working directory, written whole or not at all: the bytes go to a temporary
// file beside it, and Close() renames that over the name. A failure, or a file left without
// Close(), removes the temporary file, so an older file of the name keeps its bytes. An
// existing file that may not be written is refused, as opening it for writing would be. A
// link is followed to its file, made if it is not there yet; a character device is written
// directly and without waiting; a pipe, a socket, a folder or a disk is refused ("not a regular
// file"), so that writing never blocks. Every failure throws
// FileError with the platform's text, after "Cannot write <name>: " for a file that is to be
// named in its message.
class TextFile {
 public:
  explicit TextFile(const std::string& name, bool named = false);
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  void Write(std::string_view bytes);
  // The text and a CRLF line end.
  void WriteLine(std::string_view text);
  void Close();

 private:
  [[noreturn]] void Fail(int err);  // removes the temporary file, then throws
  [[noreturn]] void Throw(int err) const;
  std::string LinkedFile(const std::string& name) const;

  std::string shown_;  // the name a message gives, if any
  std::string name_;   // the file written, links followed
  std::string temp_;   // empty when written directly
  std::FILE* file_ = nullptr;
};

// Writes `bytes` as the whole of a file in the working directory, in the same way.
void WriteWholeFile(const std::string& name, std::string_view bytes, bool named = false);

}  // namespace kovaro
