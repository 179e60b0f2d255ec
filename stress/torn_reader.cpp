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

#include "dialog_looks.h"
#include "scratch_folder.h"
#include "status_versions.h"

namespace tessary::stress {
namespace {

namespace recording = update::recording;

std::vector<std::string> arguments(const std::string& status) {
    return {"Tessary Update", status, "2.3.1", "/nonexistent/icon.png", std::string(minimumTime)};
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
    std::map<Look, std::size_t> looks{{lookAfter(runDialog(arguments(folder.file("missing.json")), {})), 0}};
    for (std::size_t index = 0; index < completeVersions.size(); ++index) {
        rewriteSettled(status, completeVersions[index]);
        looks.emplace(lookAfter(runDialog(arguments(status), {})), index + 1);
    }
    return looks;
}

int check(const std::string& status, double seconds) {
    const auto allowed = allowedLooks();
    if (allowed.size() != completeVersions.size() + 1) {
        std::fprintf(stderr, "torn-reader: two versions of the file share a look\n");
        return 1;
    }
    const Calls calls = runDialog(arguments(status), {recording::RealTime{seconds}, recording::Press{1}});

    std::set<std::size_t> shown;
    int passCount = 0;
    int accepted = 0;
    int outside = 0;
    for (const Pass& pass : passes(calls)) {
        ++passCount;
        accepted += pass.accepted ? 1 : 0;
        const auto found = allowed.find(pass.look);
        if (found == allowed.end()) {
            ++outside;
            std::fprintf(
                stderr, "torn-reader: pass %d shows a look of no complete version:\n  %s\n  %s\n  %s\n",
                passCount, pass.look.message.c_str(), pass.look.informative.c_str(), pass.look.title.c_str());
        } else {
            shown.insert(found->second);
        }
    }
    shown.erase(0);
    std::printf(
        "torn-reader: %d passes in %.0f s, %d of them accepted a reading; they showed %zu of the %zu "
        "complete "
        "versions, and %d looks of none\n",
        passCount, seconds, accepted, shown.size(), completeVersions.size(), outside);
    return outside == 0 && passCount > 0 ? 0 : 1;
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
