// The focus action on Windows: the alert's window restored if it was
// minimized, brought to the front and made the active window. Windows hands
// the foreground to a background process only when the foreground process
// allows it; where it refuses, the taskbar button flashes until the user comes
// to the window, which is Windows' way of asking for attention.
#pragma once

#include <windows.h>

namespace tessary::update::win32 {

void bringToFront(HWND window);

}  // namespace tessary::update::win32
