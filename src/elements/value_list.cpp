#include "elements/value_list.h"

#include "shell/format.h"
#include "shell/text_file.h"

namespace kovaro {

void WriteValueList(const std::string& file_name, const ValueList& values, ReportLog& log) {
  TextFile file(file_name);
  for (const auto& [name, value] : values) file.WriteLine(name + " " + FormatReal(value, 15, -1));
  file.Close();
  log.LogLine("Value list saved as " + file_name);
}

}  // namespace kovaro
