// NSTimer as a QTimer on the main thread. It fires inside the dialog's modal
// loop too, since that loop serves the main thread's timers.
#pragma once

#include <functional>
#include <memory>

#include <QTimer>

#include "core/toolkit.h"

namespace tessary::update::qt {

class QtTimer final : public Timer {
public:
    QtTimer(double seconds, bool repeats, std::function<void(Timer&)> block);
    QtTimer(const QtTimer&) = delete;
    QtTimer& operator=(const QtTimer&) = delete;

    // Starts the timer, unless it has been invalidated.
    void schedule();
    void invalidate() override;

private:
    std::unique_ptr<QTimer> timer_;
    std::function<void(Timer&)> block_;
    bool valid_ = true;
};

}  // namespace tessary::update::qt
