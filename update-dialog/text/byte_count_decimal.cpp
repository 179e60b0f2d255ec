// File sizes as macOS shows them, for platforms without NSByteCountFormatter:
// decimal units (1 KB = 1000 bytes); bytes below 1 KB; whole KB; one decimal
// for MB; two decimals for GB and above; trailing zeros dropped; zero as
// "Zero KB". Exact integer arithmetic, so no count is ever shown wrongly rounded.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/byte_count.h"

namespace tessary::update {
namespace {

struct Unit {
    std::string_view name;
    std::uint64_t size;
    int decimals;
};

constexpr std::array<Unit, 6> units{{
    {"KB", 1'000ULL, 0},
    {"MB", 1'000'000ULL, 1},
    {"GB", 1'000'000'000ULL, 2},
    {"TB", 1'000'000'000'000ULL, 2},
    {"PB", 1'000'000'000'000'000ULL, 2},
    {"EB", 1'000'000'000'000'000'000ULL, 2},
}};

constexpr std::uint64_t powerOfTen(int exponent) {
    std::uint64_t value = 1;
    while (exponent-- > 0) value *= 10;
    return value;
}

// magnitude / unit.size rounded half up to `decimals` places, as a scaled integer.
std::uint64_t roundedScaled(std::uint64_t magnitude, const Unit& unit) {
    using Wide = unsigned __int128;
    const Wide scaled = static_cast<Wide>(magnitude) * powerOfTen(unit.decimals);
    return static_cast<std::uint64_t>((scaled + unit.size / 2) / unit.size);
}

std::string decimalText(std::uint64_t scaled, int decimals) {
    const std::uint64_t scale = powerOfTen(decimals);
    if (decimals == 0) return std::to_string(scaled);
    std::string text = std::to_string(scaled / scale);
    std::string fraction = std::to_string(scaled % scale);
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) text.append(".").append(fraction);
    return text;
}

std::string magnitudeText(std::uint64_t magnitude) {
    if (magnitude == 1) return "1 byte";
    if (magnitude < units.front().size) return std::to_string(magnitude) + " bytes";
    for (std::size_t index = 0; index < units.size(); ++index) {
        const Unit& unit = units[index];
        const std::uint64_t scaled = roundedScaled(magnitude, unit);
        // 999,999 bytes round to "1,000 KB": show it in the next unit instead.
        const bool roundsUp = index + 1 < units.size() && scaled >= 1000 * powerOfTen(unit.decimals);
        if (!roundsUp) return decimalText(scaled, unit.decimals) + " " + std::string(unit.name);
    }
    return {};  // unreachable: every 64-bit count is below 1000 EB
}

}  // namespace

std::string stringFromByteCount(std::int64_t byteCount) {
    if (byteCount == 0) return "Zero KB";
    // The magnitude of INT64_MIN does not fit in int64_t; take it unsigned.
    const std::uint64_t magnitude =
        byteCount < 0 ? 0 - static_cast<std::uint64_t>(byteCount) : static_cast<std::uint64_t>(byteCount);
    const std::string text = magnitudeText(magnitude);
    return byteCount < 0 ? "-" + text : text;
}

}  // namespace tessary::update
