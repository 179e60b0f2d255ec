// The C library's standard streams on Windows, as the program writes to them.
#pragma once

#include <cstdio>

namespace tessary::update::windows {

// The stream of standard descriptor `descriptor` (0, 1 or 2), once
// openClosedStandardDescriptors has run: stdin, stdout or stderr itself, or,
// where the program started without that handle and the C library's own
// stream was never opened, a stream on the repaired descriptor instead.
std::FILE* standardStream(int descriptor);

}  // namespace tessary::update::windows
