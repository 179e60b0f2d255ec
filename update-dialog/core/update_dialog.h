// The update dialog program: its run sequence and the state it keeps.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "toolkit.h"

namespace tessary::update {

// Runs the whole program on the given toolkit: `arguments` is the process's
// argument list with the program path first; the install request goes to
// `standardOutput`. Returns the exit status (2 for a short command line, 0 otherwise).
int runUpdateDialog(Toolkit& toolkit, std::vector<std::string> arguments, std::FILE* standardOutput);

}  // namespace tessary::update
