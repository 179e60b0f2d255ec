#include "win32_toolkit.h"

#include <commctrl.h>

#include "alert.h"
#include "application.h"
#include "core/focus_signal.h"
#include "desktop.h"
#include "image.h"
#include "progress_bar.h"
#include "run_loop.h"
#include "standard_input_source.h"
#include "timer.h"

namespace tessary::update::win32 {

Win32Toolkit::Win32Toolkit(HANDLE standardInput) : standardInput_(standardInput) {}

Win32Toolkit::~Win32Toolkit() = default;

Application& Win32Toolkit::sharedApplication() {
    if (application_) return *application_;
    if (const auto reason = whyNoDesktop()) endWithoutWindow(*reason);
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    runLoop_ = RunLoop::create();
    if (!runLoop_)
        endWithoutWindow("Windows refused to create a window (error " + std::to_string(GetLastError()) + ")");
    application_ = std::make_unique<Win32Application>();
    return *application_;
}

RunLoop& Win32Toolkit::runLoop() {
    sharedApplication();
    return *runLoop_;
}

std::unique_ptr<Alert> Win32Toolkit::newAlert() {
    auto alert = Win32Alert::create(runLoop());
    if (!alert)
        endWithoutWindow("Windows refused to create the window (error " + std::to_string(GetLastError()) +
                         ")");
    return alert;
}

std::unique_ptr<Image> Win32Toolkit::newImageWithData(std::string_view bytes) {
    return Win32Image::fromBytes(bytes);
}

std::unique_ptr<ProgressIndicator> Win32Toolkit::newProgressIndicatorWithFrame(Rect frame) {
    return std::make_unique<Win32ProgressIndicator>(frame);
}

std::unique_ptr<Timer> Win32Toolkit::timerWithTimeInterval(double seconds, bool repeats,
                                                           std::function<void(Timer&)> block) {
    return std::make_unique<Win32Timer>(runLoop(), seconds, repeats, std::move(block));
}

void Win32Toolkit::addTimerToMainRunLoopCommonModes(Timer& timer) {
    if (auto* win32Timer = dynamic_cast<Win32Timer*>(&timer)) win32Timer->schedule();
}

void Win32Toolkit::ignoreSignal(int) {}

// The focus signal's Windows form; no other signal has one.
std::unique_ptr<SignalSource> Win32Toolkit::signalSourceOnMainQueue(int signalNumber) {
    RunLoop& loop = runLoop();
    const HANDLE input = signalNumber == focusSignalNumber() ? standardInput_ : nullptr;
    return std::make_unique<StandardInputSource>(loop, input,
                                                 [&loop] { loop.requestStop(modalResponseCancel); });
}

}  // namespace tessary::update::win32
