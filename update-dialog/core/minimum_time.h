// Reading the freshness threshold given as the fourth command-line argument.
#pragma once

#include <string_view>

namespace tessary::update {

// The text as a number by the C library's strtod rules in the "C" locale,
// whatever the process locale is. Refused, giving +0.0, when the text is empty,
// starts with white space, or is not consumed to its very end. Magnitudes
// beyond the range of a double give what strtod gives: an infinity for an
// overflow, the nearest subnormal or zero for an underflow.
double readMinimumTime(std::string_view text);

}  // namespace tessary::update
