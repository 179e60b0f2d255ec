#include "poll_timer.h"

#include <cmath>

namespace tessary::update::qt {

QtTimer::QtTimer(double seconds, bool repeats, std::function<void(Timer&)> block)
    : timer_(std::make_unique<QTimer>()), block_(std::move(block)) {
    timer_->setInterval(static_cast<int>(std::lround(seconds * 1000)));
    timer_->setSingleShot(!repeats);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] {
        if (!valid_) return;
        if (timer_->isSingleShot()) valid_ = false;  // a one-shot NSTimer invalidates itself
        if (block_) block_(*this);
    });
}

void QtTimer::schedule() {
    if (valid_ && !timer_->isActive()) timer_->start();
}

void QtTimer::invalidate() {
    valid_ = false;
    timer_->stop();
}

}  // namespace tessary::update::qt
