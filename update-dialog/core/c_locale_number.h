// Reading a number by the C library's strtod rules in the "C" locale, whatever
// the process locale is. One implementation per platform, chosen by the build
// (platform/<name>/): POSIX systems have strtod_l, Windows' C libraries differ
// in what their strtod reads.
#pragma once

#include <optional>
#include <string>

namespace tessary::update {

// The value of `text` when strtod in the "C" locale consumes all of it: an
// optional sign, then a decimal number with optional fraction and exponent, a
// hexadecimal one after 0x with an optional binary exponent, inf, infinity,
// nan or nan(letters, digits, underscores), in any case. Nothing when anything
// is left over or nothing could be read. A magnitude beyond the range of a
// double gives what strtod gives: an infinity for an overflow, zero (or the
// nearest subnormal) for an underflow, with the text's sign.
std::optional<double> wholeNumberInCLocale(const std::string& text);

}  // namespace tessary::update
