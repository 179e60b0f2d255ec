#include "status_file.h"

#include <algorithm>

namespace tessary::update {

StatusFileReader::StatusFileReader(std::string path, Clock clock)
    : path_(std::move(path)), clock_(std::move(clock)) {}

StatusFileReading StatusFileReader::read() {
    auto contents = readRegularFile(path_, maximumStatusFileSize);
    if (!contents) {
        lastSeen_.reset();  // whatever appears next is judged by its age
        return {};
    }
    const bool renamedIntoPlace = lastSeen_ && *lastSeen_ != contents->identity;
    lastSeen_ = contents->identity;
    if (renamedIntoPlace) return {std::move(contents->bytes), std::nullopt};

    // The same file as before (or the first one seen): a writer may still be
    // at work on it, unless it has been left alone long enough.
    const auto age = clock_() - contents->modified;
    if (age >= settlingTime || age < -clockSkewTolerance) return {std::move(contents->bytes), std::nullopt};
    const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(settlingTime - age);
    return {std::nullopt, std::max(remaining, std::chrono::milliseconds(1))};
}

}  // namespace tessary::update
