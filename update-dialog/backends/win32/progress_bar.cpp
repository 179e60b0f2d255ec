#include "progress_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "alert.h"

namespace tessary::update::win32 {
namespace {

constexpr int stepsPerPercent = 10;
constexpr int determinateMaximum = 100 * stepsPerPercent;

}  // namespace

Win32ProgressIndicator::~Win32ProgressIndicator() {
    if (host_ != nullptr) host_->accessoryGone(*this);
}

void Win32ProgressIndicator::setHidden(bool hidden) {
    hidden_ = hidden;
    apply();
}

void Win32ProgressIndicator::setStyle(ProgressIndicatorStyle) {
    // Only the bar style is used; a progress control is always a bar.
}

void Win32ProgressIndicator::setIndeterminate(bool indeterminate) {
    indeterminate_ = indeterminate;
    apply();
}

void Win32ProgressIndicator::startAnimation() {
    animating_ = true;
    apply();
}

void Win32ProgressIndicator::setDoubleValue(double value) {
    value_ = value;
    apply();
}

void Win32ProgressIndicator::attach(Win32Alert& alert, HWND bar) {
    host_ = &alert;
    bar_ = bar;
    // The control may have shown another indicator, or nothing yet.
    const LONG_PTR style = GetWindowLongPtrW(bar_, GWL_STYLE);
    marqueeShown_ = (style & PBS_MARQUEE) != 0;
    marqueeRunning_ = marqueeShown_;
    positionShown_ = -1;
    apply();
}

void Win32ProgressIndicator::detach() {
    if (bar_ != nullptr) {
        if (marqueeRunning_) SendMessageW(bar_, PBM_SETMARQUEE, FALSE, 0);
        ShowWindow(bar_, SW_HIDE);
    }
    host_ = nullptr;
    bar_ = nullptr;
}

// The same values arrive up to four times a second: only changes reach the control.
void Win32ProgressIndicator::apply() {
    if (bar_ == nullptr) return;
    const bool visible = shown();
    const bool marquee = indeterminate_;
    if (marquee != marqueeShown_) {
        if (marqueeRunning_) SendMessageW(bar_, PBM_SETMARQUEE, FALSE, 0);
        marqueeRunning_ = false;
        const LONG_PTR style = GetWindowLongPtrW(bar_, GWL_STYLE);
        SetWindowLongPtrW(bar_, GWL_STYLE, marquee ? style | PBS_MARQUEE : style & ~LONG_PTR{PBS_MARQUEE});
        marqueeShown_ = marquee;
        positionShown_ = -1;
    }
    if (marquee) {
        // A marquee moves only while it can be seen: a hidden one costs nothing.
        const bool run = visible && animating_;
        if (run != marqueeRunning_) {
            SendMessageW(bar_, PBM_SETMARQUEE, run ? TRUE : FALSE, 0);
            marqueeRunning_ = run;
        }
    } else {
        // NaN and negatives show as empty, anything from 100 up as full.
        const double percent = value_ >= 0 ? std::min(value_, 100.0) : 0.0;
        const int position = static_cast<int>(std::lround(percent * stepsPerPercent));
        if (positionShown_ < 0) SendMessageW(bar_, PBM_SETRANGE32, 0, determinateMaximum);
        if (position != positionShown_) {
            SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
            positionShown_ = position;
        }
    }
    // The style bit, not IsWindowVisible: the alert itself may not be on screen yet.
    const bool visibleNow = (GetWindowLongPtrW(bar_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visibleNow != visible) ShowWindow(bar_, visible ? SW_SHOWNA : SW_HIDE);
}

}  // namespace tessary::update::win32
