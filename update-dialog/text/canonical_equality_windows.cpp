// Canonical equivalence through Windows' own NormalizeString: both texts
// brought to NFC, then compared unit for unit.
#include <windows.h>

#include <optional>
#include <string>

#include "core/canonical_equality.h"
#include "platform/windows/wide_text.h"

namespace tessary::update {
namespace {

bool isAscii(std::string_view text) {
    for (unsigned char byte : text) {
        if (byte >= 0x80) return false;
    }
    return true;
}

// Strictly UTF-8: a text that is not can be equal to nothing but itself.
bool isValidUtf8(std::string_view text) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                               nullptr, 0) > 0;
}

std::optional<std::wstring> nfc(std::string_view text) {
    if (!isValidUtf8(text)) return std::nullopt;
    const std::wstring wide = windows::wideFromUtf8(text);
    if (wide.empty()) return wide;
    const int length = static_cast<int>(wide.size());
    // NormalizeString first says how much room it may need; the guess can be
    // short, and then it says so again with a better one.
    int room = NormalizeString(NormalizationC, wide.c_str(), length, nullptr, 0);
    for (int attempt = 0; room > 0 && attempt < 8; ++attempt) {
        std::wstring composed(static_cast<std::size_t>(room), L'\0');
        const int written = NormalizeString(NormalizationC, wide.c_str(), length, composed.data(), room);
        if (written > 0) {
            composed.resize(static_cast<std::size_t>(written));
            return composed;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
        room = -written;
    }
    return std::nullopt;
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
