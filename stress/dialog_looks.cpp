#include "dialog_looks.h"

#include <cstdio>

#include "core/update_dialog.h"

namespace tessary::stress {

void LookTracker::follow(const std::string& line) {
    if (line.starts_with("alert.setMessageText(")) look_.message = line;
    if (line.starts_with("alert.setInformativeText(")) look_.informative = line;
    if (line.starts_with("button1.setTitle(")) look_.title = line;
    if (line == R"(alert.addButtonWithTitle("Close") -> button1)")
        look_.title = R"(button1.setTitle("Close"))";
}

Calls runDialog(const std::vector<std::string>& arguments, std::vector<update::recording::Step> script) {
    update::recording::RecordingToolkit toolkit;
    toolkit.scriptModalLoop(std::move(script));
    std::FILE* nowhere = std::fopen("/dev/null", "w");
    Calls calls;
    {
        update::UpdateDialog dialog(toolkit, nowhere);
        dialog.run(arguments);
        calls = toolkit.calls();
    }
    std::fclose(nowhere);
    return calls;
}

std::vector<Pass> passes(const Calls& calls) {
    std::vector<Pass> result;
    LookTracker tracker;
    bool inPass = false;
    bool accepted = false;
    for (const std::string& line : calls) {
        if (inPass && (line.starts_with("-- ") || line.starts_with("signal("))) {
            inPass = false;
            result.push_back({tracker.look(), accepted});
        }
        tracker.follow(line);
        if (inPass && line.starts_with("alert.setMessageText(")) accepted = true;
        if (line.starts_with("NSRunLoop.mainRunLoop.addTimer(timer,") || line == "-- timer fires" ||
            line == "-- one-shot timer fires") {
            inPass = true;
            accepted = false;
        }
    }
    return result;
}

}  // namespace tessary::stress
