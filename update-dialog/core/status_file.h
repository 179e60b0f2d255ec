// Where the status file lies, and when a reading of it can be trusted.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "regular_file.h"

namespace tessary::update {

// A status file larger than this is not one the host application writes; it
// is refused rather than read four times a second into memory.
inline constexpr std::size_t maximumStatusFileSize = 1024 * 1024;

// How long the status file must have stayed unchanged when the host rewrites
// it in place: longer than a host takes to write one version (50 ms at most),
// plus the coarseness of file times (one clock tick, at most 10 ms on Linux).
inline constexpr std::chrono::milliseconds settlingTime{75};

// A file time further ahead of the clock than this comes from another clock (a
// clock set back, a file server's), not from a writer at work: waiting for it
// could take hours, so such a file is judged by its bytes alone.
inline constexpr std::chrono::seconds clockSkewTolerance{1};

struct StatusFileReading {
    // The bytes of one complete version of the file, or nothing.
    std::optional<std::string> bytes;
    // When there are no bytes because the file was rewritten in place too
    // recently to be trusted: how long until it will have settled.
    std::optional<std::chrono::milliseconds> settlesIn;
};

// Reads the status file and decides whether what it read is a version the host
// application finished writing. A host may replace the file by renaming a new
// one over it (each version is complete from the start) or rewrite it in place
// (a reading may meet a version half written, which can even be valid JSON
// that no version held). So a reading is trusted when the file is another one
// than at the previous reading (it was renamed into place), and otherwise only
// once the file has stayed unchanged for settlingTime.
class StatusFileReader {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    explicit StatusFileReader(std::string path, Clock clock = std::chrono::system_clock::now);

    StatusFileReading read();

private:
    std::string path_;
    Clock clock_;
    std::optional<FileIdentity> lastSeen_;  // the file the previous reading found, if any
};

}  // namespace tessary::update
