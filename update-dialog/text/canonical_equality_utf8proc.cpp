// Canonical equivalence through utf8proc: both texts brought to NFC, then
// compared byte for byte.
#include <utf8proc.h>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "core/canonical_equality.h"

namespace tessary::update {
namespace {

bool isAscii(std::string_view text) {
    for (unsigned char byte : text) {
        if (byte >= 0x80) return false;
    }
    return true;
}

struct FreeDeleter {
    void operator()(utf8proc_uint8_t* memory) const { std::free(memory); }
};

std::optional<std::string> nfc(std::string_view text) {
    utf8proc_uint8_t* composed = nullptr;
    const auto length = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                     static_cast<utf8proc_ssize_t>(text.size()), &composed,
                                     static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    const std::unique_ptr<utf8proc_uint8_t, FreeDeleter> owner(composed);
    if (length < 0) return std::nullopt;  // not valid UTF-8
    return std::string(reinterpret_cast<const char*>(composed), static_cast<std::size_t>(length));
}

}  // namespace

bool isCanonicallyEquivalent(std::string_view a, std::string_view b) {
    if (a == b) return true;
    // ASCII text is its own normal form, so two different ASCII texts differ.
    if (isAscii(a) && isAscii(b)) return false;
    const auto composedA = nfc(a);
    const auto composedB = nfc(b);
    if (!composedA || !composedB) return false;  // invalid UTF-8 equals only itself
    return *composedA == *composedB;
}

}  // namespace tessary::update
