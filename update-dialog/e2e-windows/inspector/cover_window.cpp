#include "cover_window.h"

#include <windows.h>

#include <cstdint>

#include "output.h"

namespace tessary::update::inspector {
namespace {

constexpr wchar_t coverClass[] = L"TessaryInspectorCover";
constexpr UINT_PTR closeTimer = 1;

LRESULT CALLBACK coverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == closeTimer) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int runCoverWindow(const CoverOptions& options) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = coverProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = coverClass;
    if (RegisterClassExW(&windowClass) == 0) {
        writeLine({{"ok", false}, {"error", "RegisterClassExW failed"}});
        return 1;
    }
    HWND window =
        CreateWindowExW(0, coverClass, options.title.c_str(), WS_OVERLAPPEDWINDOW, options.x, options.y,
                        options.width, options.height, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) {
        writeLine({{"ok", false}, {"error", "CreateWindowExW failed"}});
        return 1;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetForegroundWindow(window);
    SetTimer(window, closeTimer, options.seconds * 1000, nullptr);
    writeLine(
        {{"ok", true}, {"handle", static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window))}});
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace tessary::update::inspector
