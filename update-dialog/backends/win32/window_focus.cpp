#include "window_focus.h"

namespace tessary::update::win32 {

void bringToFront(HWND window) {
    // Before the dialog is on screen, or after it has closed, there is nothing to bring.
    if (!IsWindowVisible(window)) return;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window);
    if (GetForegroundWindow() == window) return;
    FLASHWINFO flash{};
    flash.cbSize = sizeof flash;
    flash.hwnd = window;
    flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
    FlashWindowEx(&flash);
}

}  // namespace tessary::update::win32
