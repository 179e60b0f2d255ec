#include <unistd.h>

#include "delivery_outputs.h"

namespace tessary::update::testing {
namespace {

// Writing to it raises SIGPIPE, which must not end the dialog.
File pipeWithoutReader() {
    int ends[2];
    if (pipe(ends) != 0) return nullptr;
    close(ends[0]);
    return File(fdopen(ends[1], "w"));
}

}  // namespace

File openOutput(Output output, const StatusFolder&) {
    switch (output) {
        case Output::readerGone:
            return pipeWithoutReader();
        case Output::refusesWrites:
            return File(std::fopen("/dev/full", "w"));  // every write fails with ENOSPC
        case Output::nullDevice:
            return File(std::fopen("/dev/null", "w"));
    }
    return nullptr;
}

}  // namespace tessary::update::testing
