// What a test can see of a program's windows: each top-level window of a
// process (title, class, rectangle, visibility, minimized, foreground and
// active, DPI, monitor and work area, place in the stacking order) and its
// child controls (control ID, class, text, visibility, style bits, rectangle,
// and a progress bar's position and range, an edit's lines).
#pragma once

#include <windows.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace tessary::update::inspector {

// The process's top-level windows, frontmost first; only those of class
// `windowClass` when it is not empty. Wine's hidden IME windows are left out.
std::vector<HWND> topLevelWindowsOf(DWORD processId, const std::wstring& windowClass);

nlohmann::json describeWindow(HWND window);

}  // namespace tessary::update::inspector
