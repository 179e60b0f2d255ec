// Keeps Qt's own warnings and notes off the program's stderr, which the host
// application may read. Only a fatal error (no display to connect to, say) is
// still printed, and the process then ends with status 1.
#pragma once

namespace tessary::update::qt {

void silenceQtMessages();

// While it lives, what is written to standard error goes to /dev/null. Image
// decoders (libpng's error handler, for one) print there directly, past Qt's
// message handler.
class StandardErrorSilenced {
public:
    StandardErrorSilenced();
    ~StandardErrorSilenced();
    StandardErrorSilenced(const StandardErrorSilenced&) = delete;
    StandardErrorSilenced& operator=(const StandardErrorSilenced&) = delete;

private:
    int saved_ = -1;  // the descriptor standard error had, to put back
};

}  // namespace tessary::update::qt
