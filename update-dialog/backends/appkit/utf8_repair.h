// Makes any byte string displayable as Unicode text.
#pragma once

#include <string>
#include <string_view>

namespace tessary::update::appkit {

// Returns `text` with each maximal ill-formed UTF-8 subsequence replaced by U+FFFD, the way Unicode
// recommends for lossy decoding. Well-formed text comes back unchanged.
std::string repairUtf8(std::string_view text);

}  // namespace tessary::update::appkit
