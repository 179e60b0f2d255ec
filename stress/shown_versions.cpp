// Watches what Tessary Update would show of a status file another process
// writes: the dialog's core runs on the recording toolkit with its timers firing
// in real time, and each refresh pass's look is compared with the one before.
// Prints one JSON line: passes, accepted readings, how many new looks were
// shown (a new version each), how many passes offered an install, and the
// distinct looks seen.
//
// Usage: shown-versions <status file> <minimum time> <seconds>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "dialog_looks.h"

namespace tessary::stress {
namespace {

constexpr std::string_view installTitle = R"(button1.setTitle("Install & Relaunch"))";

int watch(const std::string& status, const std::string& minimumTime, double seconds) {
    const Calls calls = runDialog({"Tessary Update", status, "2.3.1", "/nonexistent/icon.png", minimumTime},
                                  {update::recording::RealTime{seconds}, update::recording::Press{2}});
    int passCount = 0;
    int accepted = 0;
    int changes = 0;
    int offers = 0;
    std::set<Look> distinct;
    Look previous;
    for (const Pass& pass : passes(calls)) {
        ++passCount;
        if (!pass.accepted) continue;
        ++accepted;
        if (pass.look != previous) ++changes;
        if (pass.look.title == installTitle) ++offers;
        distinct.insert(pass.look);
        previous = pass.look;
    }
    std::printf(
        "{\"seconds\":%g,\"passes\":%d,\"accepted\":%d,\"newLooks\":%d,\"newLooksPerSecond\":%.2f,"
        "\"offers\":%d,\"distinctLooks\":%zu}\n",
        seconds, passCount, accepted, changes, changes / seconds, offers, distinct.size());
    return 0;
}

}  // namespace
}  // namespace tessary::stress

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: shown-versions <status file> <minimum time> <seconds>\n");
        return 2;
    }
    return tessary::stress::watch(argv[1], argv[2], std::strtod(argv[3], nullptr));
}
