// A toolkit that shows nothing and costs next to nothing: every operation is
// accepted and forgotten. Its modal loop hands the caller a way to fire the
// poll timer, so the refresh pass can be measured on its own.
#pragma once

#include <functional>

#include "core/toolkit.h"

namespace tessary::update::null {

class NullToolkit final : public Toolkit {
public:
    // Runs inside runModal with a function that fires the scheduled repeating
    // timer (the poll timer) once. One-shot timers never fire. The modal loop
    // then ends with the first button.
    using ModalLoop = std::function<void(const std::function<void()>& fireTimer)>;

    explicit NullToolkit(ModalLoop modalLoop);
    ~NullToolkit() override;

    Application& sharedApplication() override;
    std::unique_ptr<Alert> newAlert() override;
    std::unique_ptr<Image> newImageWithData(std::string_view bytes) override;
    std::unique_ptr<ProgressIndicator> newProgressIndicatorWithFrame(Rect frame) override;
    std::unique_ptr<Timer> timerWithTimeInterval(double seconds, bool repeats,
                                                 std::function<void(Timer&)> block) override;
    void addTimerToMainRunLoopCommonModes(Timer& timer) override;
    void ignoreSignal(int signalNumber) override;
    std::unique_ptr<SignalSource> signalSourceOnMainQueue(int signalNumber) override;

private:
    class NullTimer;
    ModalLoop modalLoop_;
    std::unique_ptr<Application> application_;
    NullTimer* scheduledTimer_ = nullptr;
};

}  // namespace tessary::update::null
