// File sizes as Windows shows them: StrFormatByteSizeEx, the shell's own
// formatter, in the user's language and number format ("1.46 KB", "0.99 MB",
// "1000 bytes": binary units, three significant digits, undisplayed digits
// cut off, as Explorer's property sheets show sizes). Wine 8 has no
// StrFormatByteSizeEx; there its StrFormatByteSizeW, the same formatter with
// the same cut, stands in. Both are looked up in shlwapi.dll once, on the
// first count shown, so a dialog that shows none never loads it.
//
// Windows formats no negative sizes: a negative count is shown as its
// magnitude after a minus sign, as on the other platforms.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/byte_count.h"
#include "platform/windows/wide_text.h"

namespace tessary::update {
namespace {

// StrFormatByteSizeEx and StrFormatByteSizeW (shlwapi.h).
using FormatEx = HRESULT(WINAPI*)(ULONGLONG count, int flags, PWSTR buffer, UINT size);
using FormatSigned = PWSTR(WINAPI*)(LONGLONG count, PWSTR buffer, UINT size);
constexpr int truncateUndisplayedDigits = 0x0002;  // SFBS_FLAGS_TRUNCATE_UNDISPLAYED_DECIMAL_DIGITS

template <typename Function>
Function lookUp(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    // Through a pointer to a function of no arguments, the one cast that every compiler takes silently.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

struct Formatters {
    FormatEx ex = nullptr;
    FormatSigned fallback = nullptr;
};

const Formatters& formatters() {
    static const Formatters found = [] {
        const HMODULE shell = LoadLibraryExW(L"shlwapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return Formatters{lookUp<FormatEx>(shell, "StrFormatByteSizeEx"),
                          lookUp<FormatSigned>(shell, "StrFormatByteSizeW")};
    }();
    return found;
}

std::wstring formatted(std::uint64_t magnitude) {
    wchar_t buffer[64] = {};
    const Formatters& format = formatters();
    if (format.ex != nullptr && SUCCEEDED(format.ex(magnitude, truncateUndisplayedDigits, buffer, 64)))
        return buffer;
    if (format.fallback != nullptr) {
        // It takes a signed count: 2^63, the magnitude of the most negative one, is one byte too many.
        const auto count = static_cast<LONGLONG>(
            std::min<std::uint64_t>(magnitude, std::numeric_limits<std::int64_t>::max()));
        if (format.fallback(count, buffer, 64) != nullptr) return buffer;
    }
    return std::to_wstring(magnitude) + L" bytes";  // no shell at all
}

}  // namespace

std::string stringFromByteCount(std::int64_t byteCount) {
    // The magnitude of INT64_MIN does not fit in int64_t; take it unsigned.
    const std::uint64_t magnitude =
        byteCount < 0 ? 0 - static_cast<std::uint64_t>(byteCount) : static_cast<std::uint64_t>(byteCount);
    const std::string text = windows::utf8FromWide(formatted(magnitude));
    return byteCount < 0 ? "-" + text : text;
}

}  // namespace tessary::update
