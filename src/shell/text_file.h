#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kovaro {

// A text file in the working directory, created or emptied on opening, with CRLF line ends.
// Every failure throws FileError; the file is closed whatever happens.
class TextFile {
 public:
  explicit TextFile(const std::string& name);
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  void WriteLine(std::string_view text);
  void Close();

 private:
  std::FILE* file_;
};

// Writes `bytes` as the whole of a file in the working directory; failures throw FileError.
void WriteWholeFile(const std::string& name, std::string_view bytes);

}  // namespace kovaro
