// Soak: runs Tessary Update on the null toolkit for many refresh passes (100,000
// by default) while the status file goes round every state and every kind of
// broken, stale or missing file, and checks that resident memory stays flat:
// it is sampled after 10,000 passes and at the end, and may grow by at most
// the bound given (KiB, default 256). Run it under valgrind for errors and leaks.
//
// Usage: soak [passes] [bound KiB]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "backends/null/null_toolkit.h"
#include "core/update_dialog.h"
#include "scratch_folder.h"
#include "status_versions.h"

namespace tessary::stress {
namespace {

constexpr unsigned long firstSample = 10000;

// Resident set size in KiB, from /proc/self/statm (pages).
long residentKiB() {
    long size = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// One step of the rotation: write this version, or remove the file (nullopt).
std::vector<std::optional<std::string_view>> rotation() {
    std::vector<std::optional<std::string_view>> steps(completeVersions.begin(), completeVersions.end());
    steps.insert(steps.end(), unusableVersions.begin(), unusableVersions.end());
    steps.push_back(std::nullopt);
    return steps;
}

int soak(unsigned long passes, long boundKiB) {
    const ScratchFolder folder;
    const std::string status = folder.file("status.json");
    const auto steps = rotation();
    long atFirstSample = 0;
    long atEnd = 0;

    update::null::NullToolkit toolkit([&](const std::function<void()>& fireTimer) {
        for (unsigned long pass = 0; pass < passes; ++pass) {
            const auto& step = steps[pass % steps.size()];
            if (step) {
                rewriteSettled(status, *step);
            } else {
                unlink(status.c_str());
            }
            fireTimer();
            if (pass + 1 == firstSample) atFirstSample = residentKiB();
        }
        atEnd = residentKiB();
    });
    std::FILE* nowhere = std::fopen("/dev/null", "w");
    int exitStatus = 0;
    {
        update::UpdateDialog dialog(toolkit, nowhere);
        exitStatus = dialog.run(
            {"Tessary Update", status, "2.3.1", "/nonexistent/icon.png", std::string(minimumTime)});
    }
    std::fclose(nowhere);

    std::printf("soak: %lu passes over %zu versions of the status file, exit status %d\n", passes,
                steps.size(), exitStatus);
    if (passes < firstSample) return exitStatus == 0 ? 0 : 1;
    const long growth = atEnd - atFirstSample;
    std::printf("soak: resident memory %ld KiB after %lu passes, %ld KiB after %lu (%+ld KiB; bound %ld)\n",
                atFirstSample, firstSample, atEnd, passes, growth, boundKiB);
    return exitStatus == 0 && growth <= boundKiB ? 0 : 1;
}

}  // namespace
}  // namespace tessary::stress

int main(int argc, char** argv) {
    const unsigned long passes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    const long boundKiB = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 256;
    return tessary::stress::soak(passes, boundKiB);
}
