// What the inspector does to a window, as a person would: press a button,
// minimize the window.
#pragma once

#include <windows.h>

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace tessary::update::inspector {

// The button among the window's controls with that control ID, or whose label
// reads as `text` ("Install & Relaunch" finds the label "Install && Relaunch").
HWND findButton(HWND window, std::optional<int> controlId, const std::optional<std::wstring>& text);

// Presses a visible, enabled button with BM_CLICK. The answer says whether
// the button's window procedure returned in time (the dialog may end while
// it handles the press).
nlohmann::json pressButton(HWND button);

// Minimizes the window without waiting for its thread.
nlohmann::json minimizeWindow(HWND window);

}  // namespace tessary::update::inspector
