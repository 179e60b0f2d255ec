// Reads the status file as fast as it can, with the dialog's own reading
// (StatusFileReader, then the parser), while torn-writer rewrites it in place, and fails when
// a reading is accepted that is none of the complete versions: a reading must
// never stitch the start of one version to the rest of another.
//
// Usage: torn-read-check <status file> <seconds>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <tuple>

#include "core/status_file.h"
#include "core/status_snapshot.h"
#include "status_versions.h"

namespace tessary::stress {
namespace {

using Fields = std::tuple<std::string, std::string, std::optional<std::string>, std::optional<std::int64_t>,
                          std::optional<std::int64_t>, std::optional<double>>;

Fields fields(const update::StatusSnapshot& s) {
    return {s.state, s.latest, s.message, s.downloaded, s.total, s.progress};
}

int check(const std::string& status, double seconds) {
    const double threshold = std::strtod(std::string(minimumTime).c_str(), nullptr);
    std::set<std::pair<double, Fields>> complete;
    for (std::string_view version : completeVersions) {
        const auto snapshot = update::parseStatusSnapshot(version, threshold);
        if (snapshot) complete.emplace(snapshot->checkedAt, fields(*snapshot));
    }
    update::StatusFileReader reader(status);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    unsigned long readings = 0;
    unsigned long accepted = 0;
    unsigned long stitched = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        ++readings;
        const auto reading = reader.read();
        if (!reading.bytes) continue;
        const auto snapshot = update::parseStatusSnapshot(*reading.bytes, threshold);
        if (!snapshot) continue;
        ++accepted;
        if (complete.contains({snapshot->checkedAt, fields(*snapshot)})) continue;
        if (++stitched <= 3) {
            std::fprintf(stderr,
                         "torn-read-check: accepted a reading of no complete version: state \"%s\", %s\n",
                         snapshot->state.c_str(), snapshot->message.value_or("no message").c_str());
        }
    }
    std::printf(
        "torn-read-check: %lu readings in %.0f s, %lu accepted, %lu of them stitched from two versions\n",
        readings, seconds, accepted, stitched);
    return stitched == 0 && accepted > 0 ? 0 : 1;
}

}  // namespace
}  // namespace tessary::stress

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: torn-read-check <status file> <seconds>\n");
        return 2;
    }
    return tessary::stress::check(argv[1], std::strtod(argv[2], nullptr));
}
