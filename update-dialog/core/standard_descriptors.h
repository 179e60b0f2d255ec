// The three standard descriptors, made sure to be open before anything else.
#pragma once

namespace tessary::update {

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed: 0 for
// reading, 1 and 2 for writing. A host may start the program with one of them
// closed; the next file or connection opened (the display server's) would then
// take that number, and the install request, or a library's message on
// standard error, would be written into it. Runs first thing in main.
void openClosedStandardDescriptors();

}  // namespace tessary::update
