#include "actions.h"

#include <commctrl.h>

#include "messages.h"
#include "utf.h"

namespace tessary::update::inspector {
namespace {

// A label as it reads on screen: "&&" is a literal "&", a single "&" only
// marks the next letter as the mnemonic.
std::wstring labelAsShown(const std::wstring& label) {
    std::wstring shown;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == L'&') {
            if (i + 1 < label.size() && label[i + 1] == L'&') {
                shown += L'&';
                ++i;
            }
            continue;
        }
        shown += label[i];
    }
    return shown;
}

bool isButton(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return CompareStringOrdinal(name, -1, WC_BUTTONW, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

HWND findButton(HWND window, std::optional<int> controlId, const std::optional<std::wstring>& text) {
    struct Search {
        std::optional<int> controlId;
        const std::optional<std::wstring>* text;
        HWND found = nullptr;
    } search{controlId, &text};
    EnumChildWindows(
        window,
        [](HWND control, LPARAM parameter) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(parameter);
            if (!isButton(control)) return TRUE;
            if (search.controlId && GetDlgCtrlID(control) != *search.controlId) return TRUE;
            if (*search.text) {
                const auto label = windowText(control);
                if (!label || (*label != **search.text && labelAsShown(*label) != **search.text)) return TRUE;
            }
            search.found = control;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

nlohmann::json pressButton(HWND button) {
    if (!IsWindowVisible(button)) return {{"ok", false}, {"error", "the button is not visible"}};
    if (!IsWindowEnabled(button)) return {{"ok", false}, {"error", "the button is disabled"}};
    const auto label = windowText(button);
    const int id = GetDlgCtrlID(button);
    const bool answered = sendWithTimeout(button, BM_CLICK).has_value();
    return {{"ok", true},
            {"id", id},
            {"text", label ? nlohmann::json(utf8FromWide(*label)) : nlohmann::json(nullptr)},
            {"answered", answered}};
}

nlohmann::json minimizeWindow(HWND window) {
    ShowWindowAsync(window, SW_MINIMIZE);
    return {{"ok", true}};
}

}  // namespace tessary::update::inspector
