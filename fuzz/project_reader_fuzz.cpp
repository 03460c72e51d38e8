// Any bytes as a project file: a refusal or a project whose every input is there, whose text
// reads back to the same project. Nothing else may happen (no crash, no other exception).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "project/project.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> unknown;
  kovaro::Project project;
  try {
    project = kovaro::ReadProject(text, "fuzz.kovaro", unknown);
  } catch (const kovaro::ProjectError&) {
    return 0;
  }
  if (project.size() != kovaro::ProjectInputs().size()) std::abort();
  if (kovaro::ReadProject(kovaro::ProjectText(project), "again.kovaro", unknown) != project) std::abort();
  return 0;
}
