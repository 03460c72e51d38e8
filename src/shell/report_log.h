#pragma once

#include <string>

namespace kovaro {

// The main window's report area: each call appends one whole line.
class ReportLog {
 public:
  virtual ~ReportLog() = default;
  virtual void LogLine(const std::string& text) = 0;
};

}  // namespace kovaro
