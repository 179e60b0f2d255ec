// strtod's rules in the "C" locale through std::from_chars, which reads the
// same forms whatever the locale. Windows' C libraries differ in what their
// strtod reads (msvcrt.dll knows no hexadecimal numbers, infinities or NaNs),
// while from_chars reads the same everywhere. What from_chars leaves to its
// caller is done here: the sign (it takes no "+"), the 0x prefix (it reads the
// digits after it), and the value of a magnitude beyond a double's range,
// which it reports as out of range where strtod gives an infinity or zero.
#include <charconv>
#include <cstdint>
#include <limits>
#include <string_view>
#include <system_error>

#include "core/c_locale_number.h"

namespace tessary::update {
namespace {

bool isDigit(char c, bool hexadecimal) {
    if (c >= '0' && c <= '9') return true;
    return hexadecimal && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// Whether a number from_chars found out of range is one of huge magnitude
// (an overflow) rather than a tiny one (an underflow): whether the place of
// its first significant digit plus its exponent is above zero. Any number out
// of range lies hundreds of powers away from 1, far beyond the few powers by
// which this reckoning may miss.
bool isHuge(std::string_view number, bool hexadecimal) {
    constexpr std::int64_t limit = 1'000'000'000;  // far beyond any double, far within int64_t
    std::int64_t place = 0;                        // of the first significant digit, in digits
    bool significant = false;
    bool afterPoint = false;
    std::size_t position = 0;
    for (; position < number.size(); ++position) {
        const char c = number[position];
        if (c == '.') {
            afterPoint = true;
        } else if (!isDigit(c, hexadecimal)) {
            break;
        } else if (!significant && c == '0') {
            if (afterPoint && place > -limit) --place;
        } else if (!significant) {
            significant = true;
            if (afterPoint) --place;
        } else if (!afterPoint && place < limit) {
            ++place;
        }
    }
    std::int64_t exponent = 0;
    if (position < number.size()) {  // e, E, p or P
        ++position;
        bool negative = false;
        if (position < number.size() && (number[position] == '+' || number[position] == '-')) {
            negative = number[position] == '-';
            ++position;
        }
        for (; position < number.size() && isDigit(number[position], false); ++position) {
            if (exponent < limit) exponent = exponent * 10 + (number[position] - '0');
        }
        if (negative) exponent = -exponent;
    }
    // A hexadecimal digit is four binary places.
    return (hexadecimal ? 4 * place : place) + exponent > 0;
}

}  // namespace

std::optional<double> wholeNumberInCLocale(const std::string& text) {
    std::string_view rest = text;
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    bool hexadecimal = false;
    if (rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X') &&
        (isDigit(rest[2], true) || rest[2] == '.')) {
        hexadecimal = true;
        rest.remove_prefix(2);
    }
    // One sign only, before any prefix: from_chars would take a second one.
    if (rest.empty() || rest.front() == '+' || rest.front() == '-') return std::nullopt;

    double value = 0;
    const auto format = hexadecimal ? std::chars_format::hex : std::chars_format::general;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value, format);
    if (end != rest.data() + rest.size()) return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        value = isHuge(rest, hexadecimal) ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace tessary::update
