// The alert toolkit on Qt 6 Widgets: what `Tessary Update` is on Linux.
#pragma once

#include <array>
#include <memory>

#include "core/toolkit.h"

class QApplication;

namespace tessary::update::qt {

class QtApplication;

class QtToolkit final : public Toolkit {
public:
    // Blocks the focus signal before any thread exists and keeps Qt's own
    // diagnostics off stderr. Creates no Qt object: a short command line must
    // end without a display. Qt sees the program path alone: the dialog's own
    // arguments (a version such as "-reverse") are never taken as Qt options.
    QtToolkit(int& argc, char** argv);
    ~QtToolkit() override;
    QtToolkit(const QtToolkit&) = delete;
    QtToolkit& operator=(const QtToolkit&) = delete;

    // Creates the QApplication on first use.
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
    int qtArgc_;
    std::array<char*, 2> qtArgv_;
    std::unique_ptr<QtApplication> application_;
};

}  // namespace tessary::update::qt
