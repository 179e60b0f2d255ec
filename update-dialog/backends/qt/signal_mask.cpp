#include "signal_mask.h"

#include <pthread.h>
#include <signal.h>

namespace tessary::update::qt {
namespace {

// Runs only for a delivery to a thread that does not block the signal.
extern "C" void discardSignal(int) {}

}  // namespace

void blockSignal(int signalNumber) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signalNumber);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void keepSignalFromTerminating(int signalNumber) {
    blockSignal(signalNumber);
    struct sigaction action {};
    action.sa_handler = discardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

}  // namespace tessary::update::qt
