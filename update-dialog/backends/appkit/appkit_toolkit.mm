#include "appkit_toolkit.h"

#import <AppKit/AppKit.h>

#include <csignal>
#include <utility>

#include "alert.h"
#include "application.h"
#include "run_loop_timer.h"
#include "signal_source.h"
#include "views.h"

namespace tessary::update::appkit {

AppKitToolkit::AppKitToolkit() = default;
AppKitToolkit::~AppKitToolkit() = default;

Application& AppKitToolkit::sharedApplication() {
    if (!application_) application_ = std::make_unique<AppKitApplication>(NSApplication.sharedApplication);
    return *application_;
}

std::unique_ptr<Alert> AppKitToolkit::newAlert() {
    return std::make_unique<AppKitAlert>();
}

std::unique_ptr<Image> AppKitToolkit::newImageWithData(std::string_view bytes) {
    NSData* data = [NSData dataWithBytes:bytes.data() length:bytes.size()];
    NSImage* image = [[NSImage alloc] initWithData:data];
    if (!image) return nullptr;
    return std::make_unique<AppKitImage>(image);
}

std::unique_ptr<ProgressIndicator> AppKitToolkit::newProgressIndicatorWithFrame(Rect frame) {
    return std::make_unique<AppKitProgressIndicator>(frame);
}

std::unique_ptr<Timer> AppKitToolkit::timerWithTimeInterval(double seconds, bool repeats,
                                                            std::function<void(Timer&)> block) {
    return std::make_unique<RunLoopTimer>(seconds, repeats, std::move(block));
}

void AppKitToolkit::addTimerToMainRunLoopCommonModes(Timer& timer) {
    addToMainRunLoopCommonModes(timer);
}

void AppKitToolkit::ignoreSignal(int signalNumber) {
    std::signal(signalNumber, SIG_IGN);
}

std::unique_ptr<SignalSource> AppKitToolkit::signalSourceOnMainQueue(int signalNumber) {
    return std::make_unique<DispatchSignalSource>(signalNumber);
}

}  // namespace tessary::update::appkit
