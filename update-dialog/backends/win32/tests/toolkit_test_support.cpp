#include "toolkit_test_support.h"

#include <thread>

namespace tessary::update::win32::testing {

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
}

void pumpFor(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    pumpUntil([end] { return std::chrono::steady_clock::now() >= end; }, time + std::chrono::seconds(1));
}

HWND control(const Win32Alert& alert, int id) {
    return GetDlgItem(alert.handle(), id);
}

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

LONG_PTR styleOf(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

bool hasStyle(HWND window, LONG_PTR style) {
    return (styleOf(window) & style) == style;
}

RECT placeOf(HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

RECT windowRect(const Win32Alert& alert) {
    RECT rect{};
    GetWindowRect(alert.handle(), &rect);
    return rect;
}

RECT workAreaOf(const Win32Alert& alert) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(alert.handle(), MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

std::unique_ptr<Timer> during(Win32Toolkit& toolkit, double delay, std::function<void()> step) {
    auto timer = toolkit.timerWithTimeInterval(delay, false, [step = std::move(step)](Timer&) { step(); });
    toolkit.addTimerToMainRunLoopCommonModes(*timer);
    return timer;
}

void pressKey(const Win32Alert& alert, WPARAM key, bool repeat) {
    HWND target = GetFocus();
    if (target == nullptr || (target != alert.handle() && !IsChild(alert.handle(), target)))
        target = alert.handle();
    const LPARAM state = 1 | (repeat ? (LPARAM{1} << 30) : 0);
    PostMessageW(target, WM_KEYDOWN, key, state);
    PostMessageW(target, WM_KEYUP, key, state | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

}  // namespace tessary::update::win32::testing
