// A dispatch signal source on the main queue, built from a signalfd watched by
// the main loop: deliveries are reported on the main thread, also during the
// dialog's modal loop.
#pragma once

#include <functional>
#include <memory>

#include <QSocketNotifier>

#include "core/toolkit.h"

namespace tessary::update::qt {

class SignalFdSource final : public SignalSource {
public:
    // The signal must already be blocked in every thread (see signal_mask.h).
    explicit SignalFdSource(int signalNumber);
    ~SignalFdSource() override;
    SignalFdSource(const SignalFdSource&) = delete;
    SignalFdSource& operator=(const SignalFdSource&) = delete;

    void setEventHandler(std::function<void()> handler) override;
    void resume() override;

private:
    // Reads every pending delivery; several deliveries run the handler once.
    void drain();

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> handler_;
};

}  // namespace tessary::update::qt
