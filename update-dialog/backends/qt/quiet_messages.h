// Keeps Qt's own warnings and notes off the program's stderr, which the host
// application may read. Only a fatal error (no display to connect to, say) is
// still printed, and the process then ends with status 1.
#pragma once

namespace tessary::update::qt {

void silenceQtMessages();

}  // namespace tessary::update::qt
