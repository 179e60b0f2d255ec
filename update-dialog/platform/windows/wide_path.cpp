#include "wide_path.h"

#include <windows.h>

#include "wide_text.h"

namespace tessary::update::windows {
namespace {

bool startsWith(const std::wstring& text, std::wstring_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool isDriveAbsolute(const std::wstring& path) {
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

}  // namespace

std::optional<std::wstring> fullPathName(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return std::nullopt;
        if (length < full.size()) {  // the length without the NUL: it fitted
            full.resize(length);
            return full;
        }
        full.resize(length);  // the size needed, with the NUL
    }
}

std::wstring widePath(const std::string& path) {
    std::wstring wide = wideFromUtf8(path);
    // Device paths (\\?\…, \\.\…) are taken as they are, however long.
    if (wide.size() < MAX_PATH || startsWith(wide, L"\\\\?\\") || startsWith(wide, L"\\\\.\\")) return wide;
    const auto full = fullPathName(wide);
    if (!full) return wide;
    if (isDriveAbsolute(*full)) return L"\\\\?\\" + *full;
    if (startsWith(*full, L"\\\\")) return L"\\\\?\\UNC\\" + full->substr(2);
    return *full;
}

}  // namespace tessary::update::windows
