// State strings are equal when they are canonically equivalent Unicode texts.
// One implementation per platform, chosen by the build: Foundation on macOS,
// utf8proc's NFC elsewhere.
#pragma once

#include <string_view>

namespace tessary::update {

bool isCanonicallyEquivalent(std::string_view a, std::string_view b);

}  // namespace tessary::update
