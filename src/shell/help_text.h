#pragma once

#include <string>

namespace kovaro {

// The report area's content at start-up: what the program does and how to use it.
const std::string& HelpText();

}  // namespace kovaro
