// Conversions between the UTF-16 of the Windows API and the UTF-8 of the
// inspector's JSON.
#pragma once

#include <string>
#include <string_view>

namespace tessary::update::inspector {

std::string utf8FromWide(std::wstring_view text);
std::wstring wideFromUtf8(std::string_view text);

}  // namespace tessary::update::inspector
