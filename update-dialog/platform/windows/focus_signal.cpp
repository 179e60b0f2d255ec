#include "core/focus_signal.h"

namespace tessary::update {

// Windows has no signals to send a process. The focus request comes as a line
// on standard input instead (the Win32 toolkit's signal source reads it); the
// number only names that request, and is the one SIGUSR1 has on macOS.
int focusSignalNumber() {
    return 30;
}

}  // namespace tessary::update
