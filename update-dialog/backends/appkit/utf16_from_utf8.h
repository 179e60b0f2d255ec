// UTF-8 texts as the UTF-16 code units Foundation strings are made of.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessary::update::appkit {

// Every character of `text`, each as one or two UTF-16 code units, or nothing when `text` is not
// well-formed UTF-8. Nothing is dropped or changed: a leading U+FEFF is a character like any other.
std::optional<std::u16string> utf16FromUtf8(std::string_view text);

}  // namespace tessary::update::appkit
