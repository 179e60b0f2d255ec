// Whether the process can show a window to anyone.
#pragma once

#include <optional>
#include <string>

namespace tessary::update::win32 {

// Why no window of this process can be seen, or nothing when one can: a
// process in a service's session or on another non-interactive window station
// creates windows that no one ever sees.
std::optional<std::string> whyNoDesktop();

// Ends the program at once, with status 3 and `reason` as one line on
// standard error: the dialog cannot be shown, and must not run unseen.
[[noreturn]] void endWithoutWindow(const std::string& reason);

}  // namespace tessary::update::win32
