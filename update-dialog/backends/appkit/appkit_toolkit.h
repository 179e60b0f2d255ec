// The alert toolkit on AppKit, Foundation and Dispatch: what `Tessary Update` is on macOS.
#pragma once

#include <memory>

#include "core/toolkit.h"

namespace tessary::update::appkit {

class AppKitApplication;

class AppKitToolkit final : public Toolkit {
public:
    AppKitToolkit();
    ~AppKitToolkit() override;
    AppKitToolkit(const AppKitToolkit&) = delete;
    AppKitToolkit& operator=(const AppKitToolkit&) = delete;

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
    std::unique_ptr<AppKitApplication> application_;  // made on first use
};

}  // namespace tessary::update::appkit
