#pragma once

#include "project/project.h"

namespace kovaro {

struct Program;

// Every input of the windows as a project: each field's value and text, each check box and
// choice, the elements, the design name and whether "Simulate and plot" is enabled. The later
// windows are created for it when they do not exist yet.
Project CollectProject(Program& program);

// A checked project put into the windows, choices before fields; the frequency window keeps
// the range it is given.
void ApplyProject(Program& program, const Project& project);

}  // namespace kovaro
