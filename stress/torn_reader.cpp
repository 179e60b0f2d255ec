// Runs Tessary Update on the recording toolkit with its timers firing in real
// time, while another process tears the status file, and checks
// that after every pass the dialog shows the look of a complete version of the
// file (message text, informative text and first button), or its initial look.
//
// Usage: torn-reader <status file> <seconds>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "backends/recording/recording_toolkit.h"
#include "core/update_dialog.h"
#include "scratch_folder.h"
#include "status_versions.h"

namespace tessary::stress {
namespace {

using Calls = std::vector<std::string>;
namespace recording = update::recording;

// What the user sees of the texts, as the recording toolkit logged them.
struct Look {
    std::string message;
    std::string informative;
    std::string title;
    auto operator<=>(const Look&) const = default;
};

// Follows the log line by line, keeping the last text given to each element.
class LookTracker {
public:
    void follow(const std::string& line) {
        if (line.starts_with("alert.setMessageText(")) look_.message = line;
        if (line.starts_with("alert.setInformativeText(")) look_.informative = line;
        if (line.starts_with("button1.setTitle(")) look_.title = line;
        if (line == R"(alert.addButtonWithTitle("Close") -> button1)")
            look_.title = R"(button1.setTitle("Close"))";
    }
    const Look& look() const { return look_; }

private:
    Look look_;
};

std::vector<std::string> arguments(const std::string& status) {
    return {"Tessary Update", status, "2.3.1", "/nonexistent/icon.png", std::string(minimumTime)};
}

Calls run(const std::string& status, std::vector<recording::Step> script) {
    recording::RecordingToolkit toolkit;
    toolkit.scriptModalLoop(std::move(script));
    std::FILE* nowhere = std::fopen("/dev/null", "w");
    Calls calls;
    {
        update::UpdateDialog dialog(toolkit, nowhere);
        dialog.run(arguments(status));
        calls = toolkit.calls();
    }
    std::fclose(nowhere);
    return calls;
}

Look lookAfter(const Calls& calls) {
    LookTracker tracker;
    for (const std::string& line : calls) tracker.follow(line);
    return tracker.look();
}

// Each complete version's look, read from a file of its own; the initial look as version 0.
std::map<Look, std::size_t> allowedLooks() {
    const ScratchFolder folder;
    const std::string status = folder.file("status.json");
    std::map<Look, std::size_t> looks{{lookAfter(run(folder.file("missing.json"), {})), 0}};
    for (std::size_t index = 0; index < completeVersions.size(); ++index) {
        rewriteSettled(status, completeVersions[index]);
        looks.emplace(lookAfter(run(status, {})), index + 1);
    }
    return looks;
}

int check(const std::string& status, double seconds) {
    const auto allowed = allowedLooks();
    if (allowed.size() != completeVersions.size() + 1) {
        std::fprintf(stderr, "torn-reader: two versions of the file share a look\n");
        return 1;
    }
    const Calls calls = run(status, {recording::RealTime{seconds}, recording::Press{1}});

    LookTracker tracker;
    std::set<std::size_t> shown;
    int passes = 0;
    int accepted = 0;
    int outside = 0;
    bool changed = false;
    bool inPass = false;
    for (const std::string& line : calls) {
        if (inPass && (line.starts_with("-- ") || line.starts_with("signal("))) {
            inPass = false;
            ++passes;
            accepted += changed ? 1 : 0;
            const auto found = allowed.find(tracker.look());
            if (found == allowed.end()) {
                ++outside;
                std::fprintf(stderr,
                             "torn-reader: pass %d shows a look of no complete version:\n  %s\n  %s\n  %s\n",
                             passes, tracker.look().message.c_str(), tracker.look().informative.c_str(),
                             tracker.look().title.c_str());
            } else {
                shown.insert(found->second);
            }
        }
        tracker.follow(line);
        if (inPass && line.starts_with("alert.setMessageText(")) changed = true;
        if (line.starts_with("NSRunLoop.mainRunLoop.addTimer(timer,") || line == "-- timer fires" ||
            line == "-- one-shot timer fires") {
            inPass = true;
            changed = false;
        }
    }
    shown.erase(0);
    std::printf(
        "torn-reader: %d passes in %.0f s, %d of them accepted a reading; they showed %zu of the %zu "
        "complete "
        "versions, and %d looks of none\n",
        passes, seconds, accepted, shown.size(), completeVersions.size(), outside);
    return outside == 0 && passes > 0 ? 0 : 1;
}

}  // namespace
}  // namespace tessary::stress

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: torn-reader <status file> <seconds>\n");
        return 2;
    }
    return tessary::stress::check(argv[1], std::strtod(argv[2], nullptr));
}
