// Process-wide handling of the signals the dialog observes on its main loop.
#pragma once

namespace tessary::update::qt {

// Blocks the signal in the calling thread and every thread it starts later.
// A blocked signal stays pending, so a signalfd still reports it.
void blockSignal(int signalNumber);

// Makes sure the signal can never end the process, even if it reaches a
// thread that does not block it, without discarding it the way SIG_IGN would
// (an ignored signal is never reported through a signalfd).
void keepSignalFromTerminating(int signalNumber);

}  // namespace tessary::update::qt
