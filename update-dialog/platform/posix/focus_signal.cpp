#include "core/focus_signal.h"

#include <csignal>

namespace tessary::update {

int focusSignalNumber() {
    return SIGUSR1;
}

}  // namespace tessary::update
