#include "expected_look.h"

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>

#include "core/byte_count.h"
#include "core/text_bounds.h"

namespace tessary::update::fuzz {
namespace {

using Json = nlohmann::json;

const std::string offerText =
    "Your conversations and drafts will be restored when Tessary reopens. Active turns controlled by "
    "Tessary may be interrupted; other agents keep working.";

const Json* member(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

std::optional<std::string> text(const Json& object, const char* key) {
    const Json* value = member(object, key);
    if (value == nullptr || !value->is_string()) return std::nullopt;
    return value->get<std::string>();
}

std::optional<double> number(const Json& object, const char* key) {
    const Json* value = member(object, key);
    if (value == nullptr || !value->is_number()) return std::nullopt;
    return value->get<double>();
}

// A whole number in the signed 64-bit range, in whichever form JSON wrote it.
std::optional<std::int64_t> integer(const Json& object, const char* key) {
    const Json* value = member(object, key);
    if (value == nullptr) return std::nullopt;
    if (value->is_number_integer() && !value->is_number_unsigned()) return value->get<std::int64_t>();
    if (value->is_number_unsigned()) {
        const auto whole = value->get<std::uint64_t>();
        if (whole > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
        return static_cast<std::int64_t>(whole);
    }
    if (value->is_number_float()) {
        const double real = value->get<double>();
        if (real >= -0x1p63 && real < 0x1p63 && static_cast<double>(static_cast<std::int64_t>(real)) == real)
            return static_cast<std::int64_t>(real);
    }
    return std::nullopt;
}

bool isOneOf(std::string_view state, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        if (state == name) return true;  // the names are lowercase ASCII: only the same bytes are equivalent
    }
    return false;
}

}  // namespace

std::optional<ExpectedLook> expectedLook(std::string_view bytes, double minimumTime,
                                         std::string_view installed) {
    // A JSON text never holds a NUL byte: outside strings it is no token, inside one it must be escaped.
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    const Json document = Json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (document.is_discarded() || !document.is_object()) return std::nullopt;

    const auto checkedAt = number(document, "checkedAt");
    if (!checkedAt || !(*checkedAt >= minimumTime)) return std::nullopt;
    const auto state = text(document, "state");
    if (!state) return std::nullopt;

    // The host's texts are shown cut to their bounds (tested on their own in the unit tests).
    const std::string latest = boundedText(text(document, "latest").value_or(""), versionBounds);
    const std::string standard = std::string("Tessary ").append(installed);
    ExpectedLook look;
    const auto message = text(document, "message");
    look.informativeText = message ? boundedText(*message, messageBounds) : standard;
    look.offer = isOneOf(*state, {"available", "waiting-for-agents"});
    look.busy = isOneOf(*state, {"checking", "downloading", "verifying", "extracting", "installing"});
    look.relayout = !state->empty();

    if (*state == "up-to-date") {
        look.messageText = "Tessary is up to date";
        look.informativeText = "You’re running " + standard + ". No newer release is available.";
    } else if (look.offer) {
        look.messageText = "Tessary " + latest + " is available";
        look.informativeText = offerText;
    } else if (*state == "downloading") {
        look.messageText = "Downloading Tessary " + latest + "…";
        const auto downloaded = integer(document, "downloaded");
        const auto total = downloaded ? integer(document, "total") : std::nullopt;
        look.informativeText = total ? stringFromByteCount(*downloaded) + " of " + stringFromByteCount(*total)
                                     : "You can keep using Tessary while the update downloads.";
    } else if (*state == "verifying") {
        look.messageText = "Verifying the update…";
    } else if (*state == "extracting") {
        look.messageText = "Preparing the update…";
    } else if (*state == "installing") {
        look.messageText = "Installing and relaunching Tessary…";
    } else if (*state == "updated") {
        look.messageText = "Tessary is updated";
    } else if (isOneOf(*state, {"error", "release-unavailable", "recovery-required"})) {
        look.messageText = "Tessary couldn’t update";
        look.warning = true;
    } else {
        look.messageText = "Checking for updates…";
    }

    if (const auto percent = number(document, "progress")) {
        const double atLeastZero = 0 <= *percent ? *percent : 0.0;  // -0 stays -0, NaN gives 0
        look.barValue = atLeastZero < 100 ? atLeastZero : 100.0;
    }
    return look;
}

}  // namespace tessary::update::fuzz
