// NSTimer behind the toolkit's Timer.
#pragma once

#import <Foundation/Foundation.h>

#include <functional>

#include "core/toolkit.h"

namespace tessary::update::appkit {

class RunLoopTimer final : public Timer {
public:
    // An unscheduled timer that calls `block` with this object at each firing.
    RunLoopTimer(double seconds, bool repeats, std::function<void(Timer&)> block);
    // The timer's block refers to this object, so the timer must never fire after it is gone.
    ~RunLoopTimer() override;
    RunLoopTimer(const RunLoopTimer&) = delete;
    RunLoopTimer& operator=(const RunLoopTimer&) = delete;

    void invalidate() override;
    NSTimer* nsTimer() const { return timer_; }

private:
    std::function<void(Timer&)> block_;
    NSTimer* timer_;
};

// [NSRunLoop mainRunLoop] addTimer:forMode: NSRunLoopCommonModes, so that the timer also fires while
// an alert runs modally. Timers of other toolkits are ignored.
void addToMainRunLoopCommonModes(Timer& timer);

}  // namespace tessary::update::appkit
