// What the Win32 toolkit's tests share: a toolkit, the message loop turned by
// hand, and the alert's controls read back as Windows holds them.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "alert.h"
#include "win32_toolkit.h"

namespace tessary::update::win32::testing {

// Turns the message loop until `done` holds or a generous time has passed.
bool pumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds patience = std::chrono::seconds(5));
// Turns the message loop for `time`.
void pumpFor(std::chrono::milliseconds time);

HWND control(const Win32Alert& alert, int id);
std::wstring textOf(HWND window);
LONG_PTR styleOf(HWND window);
bool hasStyle(HWND window, LONG_PTR style);
// The control's place in its window's client area.
RECT placeOf(HWND control);
RECT windowRect(const Win32Alert& alert);
RECT workAreaOf(const Win32Alert& alert);

// Runs `step` inside the modal loop `delay` after it has started (a one-shot timer).
std::unique_ptr<Timer> during(Win32Toolkit& toolkit, double delay, std::function<void()> step);

// A key pressed on the control that has the keyboard focus, or on the alert;
// `repeat` as the auto-repeat of a key held down.
void pressKey(const Win32Alert& alert, WPARAM key, bool repeat = false);

}  // namespace tessary::update::win32::testing
