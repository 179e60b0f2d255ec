// What the dialog must show after an accepted reading of a status file, worked
// out independently of the dialog's own reader: from the whole JSON document as
// nlohmann's DOM parser builds it, and from the state table written out as data.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessary::update::fuzz {

struct ExpectedLook {
    std::string messageText;
    std::string informativeText;
    bool offer = false;              // "Install & Relaunch" and the install request on the first button
    bool busy = false;               // the bar is attached and shown
    bool warning = false;            // the warning style is set
    bool relayout = false;           // a first accepted pass lays the alert out
    std::optional<double> barValue;  // the determinate value shown, when the file gives a percentage
};

// The look for `bytes` as the status file, or nothing when a reading must be
// refused (not a JSON object, a stale or missing `checkedAt`, no string `state`).
std::optional<ExpectedLook> expectedLook(std::string_view bytes, double minimumTime,
                                         std::string_view installed);

}  // namespace tessary::update::fuzz
