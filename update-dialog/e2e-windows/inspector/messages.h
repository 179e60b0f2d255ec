// Messages to windows of another process, each with a time-out: a dialog that
// hangs must fail the test, not hang the inspector with it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tessary::update::inspector {

inline constexpr UINT messageTimeoutMs = 3000;

// The message's result, or nothing when the window did not answer in time
// (or has gone).
std::optional<LRESULT> sendWithTimeout(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The window's text as its own window procedure gives it (WM_GETTEXT, which
// the system carries across processes), so an EDIT answers with its contents.
std::optional<std::wstring> windowText(HWND window);

}  // namespace tessary::update::inspector
