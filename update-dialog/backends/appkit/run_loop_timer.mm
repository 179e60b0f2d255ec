#include "run_loop_timer.h"

#include <utility>

namespace tessary::update::appkit {

RunLoopTimer::RunLoopTimer(double seconds, bool repeats, std::function<void(Timer&)> block)
    : block_(std::move(block)) {
    RunLoopTimer* owner = this;
    timer_ = [NSTimer timerWithTimeInterval:seconds
                                    repeats:repeats ? YES : NO
                                      block:^(NSTimer*) {
                                        owner->block_(*owner);
                                      }];
}

RunLoopTimer::~RunLoopTimer() {
    [timer_ invalidate];
}

void RunLoopTimer::invalidate() {
    [timer_ invalidate];
}

void addToMainRunLoopCommonModes(Timer& timer) {
    if (auto* runLoopTimer = dynamic_cast<RunLoopTimer*>(&timer)) {
        [NSRunLoop.mainRunLoop addTimer:runLoopTimer->nsTimer() forMode:NSRunLoopCommonModes];
    }
}

}  // namespace tessary::update::appkit
