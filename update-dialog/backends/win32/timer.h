// NSTimer as a Windows timer (SetTimer) on the run loop's window: it fires on
// the main thread, also inside the alert's modal loop and while the user drags
// the window.
#pragma once

#include <functional>

#include "core/toolkit.h"
#include "run_loop.h"

namespace tessary::update::win32 {

class Win32Timer final : public Timer {
public:
    Win32Timer(RunLoop& runLoop, double seconds, bool repeats, std::function<void(Timer&)> block);
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    // addTimer:forMode: — starts it, unless it was invalidated.
    void schedule();
    void invalidate() override;

private:
    void fire();

    RunLoop& runLoop_;
    RunLoop::TimerId id_;
    UINT milliseconds_;
    bool repeats_;
    std::function<void(Timer&)> block_;
    bool valid_ = true;
};

}  // namespace tessary::update::win32
