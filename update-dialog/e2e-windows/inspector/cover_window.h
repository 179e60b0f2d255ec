// A plain window of the inspector's own, shown in front of the others, so
// that a test can see the dialog come in front of another program's window.
#pragma once

#include "arguments.h"

namespace tessary::update::inspector {

// Shows the window, prints one JSON line with its handle, and keeps it up
// until `seconds` have passed or it is closed. Returns the exit status.
int runCoverWindow(const CoverOptions& options);

}  // namespace tessary::update::inspector
