// Texts between the core's UTF-8 and the UTF-16 of the Windows API.
#pragma once

#include <string>
#include <string_view>

namespace tessary::update::windows {

// UTF-16 as UTF-8. A surrogate without its partner, which a Windows path or
// argument may hold, becomes the three bytes that encode its code point
// (WTF-8), so that wideFromUtf8 gives the same UTF-16 back: a path that
// Windows gave the program opens again, whatever it holds.
std::string utf8FromWide(std::wstring_view text);

// UTF-8 as UTF-16. A byte that starts no valid sequence becomes one U+FFFD,
// so that a text is shown with as many characters as the dialog counted in it
// (core/text_bounds.h). The three-byte form of a lone surrogate (see
// utf8FromWide) becomes that surrogate again.
std::wstring wideFromUtf8(std::string_view text);

}  // namespace tessary::update::windows
