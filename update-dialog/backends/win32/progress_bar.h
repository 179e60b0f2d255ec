// NSProgressIndicator as the alert's msctls_progress32 control. The indicator
// keeps its own state (hidden, indeterminate, animating, value); while an
// alert holds it as its accessory view, that alert's bar control shows it.
// The bar is visible only then, and only while not hidden: it never appears
// anywhere else. Indeterminate, it is a marquee (PBS_MARQUEE) that moves only
// while it is visible; determinate, its range is 0 to 1000, tenths of a percent.
#pragma once

#include <windows.h>

#include "core/toolkit.h"

namespace tessary::update::win32 {

class Win32Alert;

class Win32ProgressIndicator final : public ProgressIndicator {
public:
    explicit Win32ProgressIndicator(Rect frame) : frame_(frame) {}
    ~Win32ProgressIndicator() override;
    Win32ProgressIndicator(const Win32ProgressIndicator&) = delete;
    Win32ProgressIndicator& operator=(const Win32ProgressIndicator&) = delete;

    void setHidden(bool hidden) override;
    void setStyle(ProgressIndicatorStyle style) override;
    void setIndeterminate(bool indeterminate) override;
    void startAnimation() override;
    void setDoubleValue(double value) override;

    // The size asked for, in pixels at 96 dots per inch.
    Rect frame() const { return frame_; }
    bool shown() const { return host_ != nullptr && !hidden_; }

    // Called by the alert that takes it as its accessory view, or lets it go.
    void attach(Win32Alert& alert, HWND bar);
    void detach();

private:
    void apply();

    Rect frame_;
    bool hidden_ = false;
    bool indeterminate_ = true;
    bool animating_ = false;
    double value_ = 0;
    Win32Alert* host_ = nullptr;
    HWND bar_ = nullptr;
    // What the control shows now, so that only changes reach it.
    bool marqueeShown_ = false;
    bool marqueeRunning_ = false;
    int positionShown_ = -1;
};

}  // namespace tessary::update::win32
