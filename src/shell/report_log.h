#pragma once

#include <string>
#include <vector>

namespace kovaro {

// The main window's report area: each call appends one whole line.
class ReportLog {
 public:
  virtual ~ReportLog() = default;
  virtual void LogLine(const std::string& text) = 0;
  // Many lines at once, as many calls of LogLine would append them; a report area may
  // append them in one go.
  virtual void LogLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) LogLine(line);
  }
};

}  // namespace kovaro
