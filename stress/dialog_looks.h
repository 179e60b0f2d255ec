// What the user sees of Tessary Update, followed through the recording
// toolkit's log: the dialog's core runs against a real status file, its timers
// firing in real time or as a script says, and each pass leaves a look.
#pragma once

#include <string>
#include <vector>

#include "backends/recording/recording_toolkit.h"

namespace tessary::stress {

using Calls = std::vector<std::string>;

// The texts shown: headline, informative text and the first button's title.
struct Look {
    std::string message;
    std::string informative;
    std::string title;
    auto operator<=>(const Look&) const = default;
};

// Follows the log line by line, keeping the last text given to each element.
class LookTracker {
public:
    void follow(const std::string& line);
    const Look& look() const { return look_; }

private:
    Look look_;
};

// The dialog's core on the recording toolkit with `arguments` (program path
// first), through `script`; every call it made until it ended.
Calls runDialog(const std::vector<std::string>& arguments, std::vector<update::recording::Step> script);

// The look after each refresh pass (the first one, then one per timer firing),
// and whether the pass set the texts at all (an accepted reading).
struct Pass {
    Look look;
    bool accepted = false;
};
std::vector<Pass> passes(const Calls& calls);

}  // namespace tessary::stress
