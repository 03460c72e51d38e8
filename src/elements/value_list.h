#pragma once

#include <string>
#include <utility>
#include <vector>

#include "shell/real.h"
#include "shell/report_log.h"

namespace kovaro {

using ValueList = std::vector<std::pair<std::string, Real>>;

// Writes one "name value" line per pair (value as FormatReal(x, 15, -1), CRLF) into a new
// file of that name in the working directory, then logs "Value list saved as " + name.
// Throws FileError at the first failure; an older file of the name then keeps its bytes.
void WriteValueList(const std::string& file_name, const ValueList& values, ReportLog& log);

}  // namespace kovaro
