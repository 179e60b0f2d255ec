// One accepted reading of the status file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessary::update {

struct StatusSnapshot {
    double checkedAt = 0;
    std::string state;
    std::string latest;                      // empty when missing or not a string
    std::optional<std::string> message;      // absent when missing or not a string
    std::optional<std::int64_t> downloaded;  // absent when missing or not a whole number
    std::optional<std::int64_t> total;       // absent when missing or not a whole number
    std::optional<double> progress;          // absent when missing or not a number
};

// The snapshot held by `bytes`, or nothing when they are not a JSON object, or
// `checkedAt` is not a number at least `minimumTime` (NaN never is), or `state`
// is not a string. Other keys of the wrong type take their defaults.
std::optional<StatusSnapshot> parseStatusSnapshot(std::string_view bytes, double minimumTime);

}  // namespace tessary::update
