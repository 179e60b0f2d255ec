#include "messages.h"

namespace tessary::update::inspector {

std::optional<LRESULT> sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, messageTimeoutMs, &result) ==
        0) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

std::optional<std::wstring> windowText(HWND window) {
    const auto length = sendWithTimeout(window, WM_GETTEXTLENGTH);
    if (!length) return std::nullopt;
    // WM_GETTEXTLENGTH may count more than WM_GETTEXT then copies (it never counts less).
    std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
    const auto copied =
        sendWithTimeout(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    if (!copied) return std::nullopt;
    text.resize(static_cast<std::size_t>(*copied));
    return text;
}

}  // namespace tessary::update::inspector
