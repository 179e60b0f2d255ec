#include "timer.h"

#include <algorithm>
#include <cmath>

namespace tessary::update::win32 {

Win32Timer::Win32Timer(RunLoop& runLoop, double seconds, bool repeats, std::function<void(Timer&)> block)
    : runLoop_(runLoop),
      id_(runLoop.addTimer([this] { fire(); })),
      // Windows' timers tick at 10 ms at the least.
      milliseconds_(static_cast<UINT>(
          std::clamp(std::lround(seconds * 1000), long{USER_TIMER_MINIMUM}, long{USER_TIMER_MAXIMUM}))),
      repeats_(repeats),
      block_(std::move(block)) {}

Win32Timer::~Win32Timer() {
    runLoop_.removeTimer(id_);
}

void Win32Timer::schedule() {
    if (valid_) runLoop_.startTimer(id_, milliseconds_);
}

void Win32Timer::invalidate() {
    valid_ = false;
    runLoop_.stopTimer(id_);
}

void Win32Timer::fire() {
    if (!valid_) return;
    if (!repeats_) invalidate();  // a one-shot NSTimer invalidates itself as it fires
    if (block_) block_(*this);
}

}  // namespace tessary::update::win32
