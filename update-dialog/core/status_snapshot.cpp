#include "status_snapshot.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "status_file.h"

namespace tessary::update {
namespace {

using Json = nlohmann::json;

const Json* member(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

// A JSON number of any form. Booleans are not numbers.
std::optional<double> numberAt(const Json& object, const char* key) {
    const Json* value = member(object, key);
    if (value == nullptr || !value->is_number()) return std::nullopt;
    return value->get<double>();
}

std::optional<std::string> stringAt(const Json& object, const char* key) {
    const Json* value = member(object, key);
    if (value == nullptr || !value->is_string()) return std::nullopt;
    return value->get<std::string>();
}

// A JSON number whose value is a whole number in the signed 64-bit range,
// however it is written: 2, 2.0 and 2e0 are all the integer 2.
std::optional<std::int64_t> integerAt(const Json& object, const char* key) {
    const Json* value = member(object, key);
    if (value == nullptr) return std::nullopt;
    if (value->is_number_unsigned()) {
        const auto magnitude = value->get<std::uint64_t>();
        if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return std::nullopt;
        return static_cast<std::int64_t>(magnitude);
    }
    if (value->is_number_integer()) return value->get<std::int64_t>();
    if (value->is_number_float()) {
        const double number = value->get<double>();
        constexpr double twoToThe63 = 9223372036854775808.0;
        if (!(number >= -twoToThe63 && number < twoToThe63) || std::trunc(number) != number)
            return std::nullopt;
        return static_cast<std::int64_t>(number);
    }
    return std::nullopt;
}

}  // namespace

std::optional<StatusSnapshot> parseStatusSnapshot(std::string_view bytes, double minimumTime) {
    // The parser would stop at a NUL byte and take what stands before it; a
    // file holding one (say, a region a torn write left zeroed) is no JSON text.
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    const Json status = Json::parse(bytes.begin(), bytes.end(), nullptr, /*allow_exceptions=*/false);
    if (!status.is_object()) return std::nullopt;  // also a text that is no JSON at all

    const auto checkedAt = numberAt(status, "checkedAt");
    if (!checkedAt || !(*checkedAt >= minimumTime)) return std::nullopt;  // stale, or NaN on either side

    auto state = stringAt(status, "state");
    if (!state) return std::nullopt;

    StatusSnapshot snapshot;
    snapshot.checkedAt = *checkedAt;
    snapshot.state = std::move(*state);
    snapshot.latest = stringAt(status, "latest").value_or(std::string());
    snapshot.message = stringAt(status, "message");
    snapshot.downloaded = integerAt(status, "downloaded");
    snapshot.total = integerAt(status, "total");
    snapshot.progress = numberAt(status, "progress");
    return snapshot;
}

std::optional<StatusSnapshot> readStatusSnapshot(const std::string& path, double minimumTime) {
    const auto bytes = readWholeFile(path);
    if (!bytes) return std::nullopt;
    return parseStatusSnapshot(*bytes, minimumTime);
}

}  // namespace tessary::update
