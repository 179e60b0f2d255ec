// The alert toolkit on Win32: what `Tessary Update.exe` is on Windows.
#pragma once

#include <windows.h>

#include <memory>

#include "core/toolkit.h"

namespace tessary::update::win32 {

class RunLoop;
class Win32Application;

class Win32Toolkit final : public Toolkit {
public:
    // `standardInput` is where focus requests are read from: the process's
    // standard input unless a test gives a pipe of its own. Creates nothing:
    // a short command line must end without a window.
    explicit Win32Toolkit(HANDLE standardInput = GetStdHandle(STD_INPUT_HANDLE));
    ~Win32Toolkit() override;
    Win32Toolkit(const Win32Toolkit&) = delete;
    Win32Toolkit& operator=(const Win32Toolkit&) = delete;

    // On first use: the common controls, the run loop. Without a desktop to
    // show the dialog on, ends the program with status 3 (desktop.h).
    Application& sharedApplication() override;
    // Ends the program with status 3 when Windows cannot create the window.
    std::unique_ptr<Alert> newAlert() override;
    std::unique_ptr<Image> newImageWithData(std::string_view bytes) override;
    std::unique_ptr<ProgressIndicator> newProgressIndicatorWithFrame(Rect frame) override;
    std::unique_ptr<Timer> timerWithTimeInterval(double seconds, bool repeats,
                                                 std::function<void(Timer&)> block) override;
    void addTimerToMainRunLoopCommonModes(Timer& timer) override;
    // Windows has no signal to ignore: the focus request comes on standard input.
    void ignoreSignal(int signalNumber) override;
    std::unique_ptr<SignalSource> signalSourceOnMainQueue(int signalNumber) override;

    RunLoop& runLoop();

private:
    HANDLE standardInput_;
    std::unique_ptr<Win32Application> application_;
    std::unique_ptr<RunLoop> runLoop_;
};

}  // namespace tessary::update::win32
