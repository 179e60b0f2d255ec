// The signal with which the host brings the dialog to the front. One
// definition per platform, chosen by the build (platform/<name>/): SIGUSR1 on
// POSIX systems. Windows has no such signal: there the toolkit's signal source
// takes the focus request from standard input instead, and the number only
// names the request.
#pragma once

namespace tessary::update {

int focusSignalNumber();

}  // namespace tessary::update
