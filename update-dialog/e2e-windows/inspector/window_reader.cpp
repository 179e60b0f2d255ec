#include "window_reader.h"

#include <commctrl.h>

#include <cstdint>

#include "messages.h"
#include "utf.h"

namespace tessary::update::inspector {
namespace {

using nlohmann::json;

std::wstring classNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

bool isClass(const std::wstring& name, const wchar_t* wanted) {
    return CompareStringOrdinal(name.c_str(), -1, wanted, -1, TRUE) == CSTR_EQUAL;
}

json handleJson(HWND window) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window));
}

json rectJson(const RECT& rect) {
    return {{"left", rect.left},
            {"top", rect.top},
            {"right", rect.right},
            {"bottom", rect.bottom},
            {"width", rect.right - rect.left},
            {"height", rect.bottom - rect.top}};
}

json textJson(HWND window) {
    const auto text = windowText(window);
    return text ? json(utf8FromWide(*text)) : json(nullptr);
}

json optionalResult(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    const auto result = sendWithTimeout(window, message, wParam, lParam);
    return result ? json(static_cast<std::int64_t>(*result)) : json(nullptr);
}

// The visible top-level windows of the whole desktop, frontmost first.
std::vector<HWND> stackingOrder() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// What only a control of a given class tells: a button's default mark, an
// icon's image, a bar's mode, position and range, an edit's lines.
void addClassDetails(HWND control, const std::wstring& className, LONG_PTR style, json& out) {
    if (isClass(className, WC_BUTTONW)) {
        const auto type = style & BS_TYPEMASK;
        out["defaultButton"] = type == BS_DEFPUSHBUTTON;
        out["pushButton"] = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
    } else if (isClass(className, WC_STATICW)) {
        const bool icon = (style & SS_TYPEMASK) == SS_ICON;
        out["iconStyle"] = icon;
        if (icon) {
            const auto image = sendWithTimeout(control, STM_GETICON);
            out["hasIcon"] = image && *image != 0;
        }
    } else if (isClass(className, PROGRESS_CLASSW)) {
        // The return-value forms: a pointer to a PBRANGE would point into this
        // process and read back nothing in the control's.
        out["marquee"] = (style & PBS_MARQUEE) != 0;
        out["position"] = optionalResult(control, PBM_GETPOS);
        out["low"] = optionalResult(control, PBM_GETRANGE, TRUE);
        out["high"] = optionalResult(control, PBM_GETRANGE, FALSE);
        out["state"] = optionalResult(control, PBM_GETSTATE);
    } else if (isClass(className, WC_EDITW)) {
        out["multiline"] = (style & ES_MULTILINE) != 0;
        out["readOnly"] = (style & ES_READONLY) != 0;
        out["verticalScrollBar"] = (style & WS_VSCROLL) != 0;
        out["lineCount"] = optionalResult(control, EM_GETLINECOUNT);
        out["firstVisibleLine"] = optionalResult(control, EM_GETFIRSTVISIBLELINE);
    }
}

json describeChild(HWND control, HWND topLevel) {
    const std::wstring className = classNameOf(control);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    RECT rect{};
    GetWindowRect(control, &rect);
    // Relative to the top-level window's client area.
    MapWindowPoints(HWND_DESKTOP, topLevel, reinterpret_cast<POINT*>(&rect), 2);
    json out = {{"handle", handleJson(control)},
                {"parent", handleJson(GetParent(control))},
                {"id", GetDlgCtrlID(control)},
                {"class", utf8FromWide(className)},
                {"text", textJson(control)},
                {"visible", IsWindowVisible(control) != FALSE},
                {"enabled", IsWindowEnabled(control) != FALSE},
                {"style", static_cast<std::uint32_t>(style)},
                {"rect", rectJson(rect)}};
    addClassDetails(control, className, style, out);
    return out;
}

json monitorJson(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) return nullptr;
    return {{"rect", rectJson(info.rcMonitor)}, {"workArea", rectJson(info.rcWork)}};
}

}  // namespace

std::vector<HWND> topLevelWindowsOf(DWORD processId, const std::wstring& windowClass) {
    struct Search {
        DWORD processId;
        const std::wstring* windowClass;
        std::vector<HWND> found;
    } search{processId, &windowClass, {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != search.processId) return TRUE;
            const std::wstring name = classNameOf(window);
            if (isClass(name, L"IME") || isClass(name, L"MSCTFIME UI")) return TRUE;
            if (!search.windowClass->empty() && !isClass(name, search.windowClass->c_str())) return TRUE;
            search.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

json describeWindow(HWND window) {
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    const bool threadKnown = GetGUIThreadInfo(threadId, &thread) != FALSE;

    RECT rect{};
    GetWindowRect(window, &rect);
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);

    const auto order = stackingOrder();
    json stackIndex = nullptr;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] == window) stackIndex = i;
    }

    json children = json::array();
    struct Walk {
        HWND topLevel;
        json* children;
    } walk{window, &children};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM parameter) -> BOOL {
            auto& walk = *reinterpret_cast<Walk*>(parameter);
            walk.children->push_back(describeChild(child, walk.topLevel));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));

    json focus = nullptr;
    if (threadKnown && thread.hwndFocus != nullptr) focus = GetDlgCtrlID(thread.hwndFocus);

    return {{"handle", handleJson(window)},
            {"processId", processId},
            {"title", textJson(window)},
            {"class", utf8FromWide(classNameOf(window))},
            {"visible", IsWindowVisible(window) != FALSE},
            {"minimized", IsIconic(window) != FALSE},
            {"maximized", IsZoomed(window) != FALSE},
            {"enabled", IsWindowEnabled(window) != FALSE},
            {"foreground", GetForegroundWindow() == window},
            {"active", threadKnown && thread.hwndActive == window},
            {"focusedControl", focus},
            {"stackIndex", stackIndex},
            {"dpi", GetDpiForWindow(window)},
            {"style", static_cast<std::uint32_t>(GetWindowLongPtrW(window, GWL_STYLE))},
            {"exStyle", static_cast<std::uint32_t>(GetWindowLongPtrW(window, GWL_EXSTYLE))},
            {"rect", rectJson(rect)},
            {"clientRect", rectJson(client)},
            {"monitor", monitorJson(window)},
            {"children", std::move(children)}};
}

}  // namespace tessary::update::inspector
