#include "qt_toolkit.h"

#include <malloc.h>

#include <csignal>

#include "alert_dialog.h"
#include "font_preload.h"
#include "image.h"
#include "poll_timer.h"
#include "progress_bar.h"
#include "qt_application.h"
#include "quiet_messages.h"
#include "signal_mask.h"
#include "signal_source.h"

namespace tessary::update::qt {

QtToolkit::QtToolkit(int& argc, char** argv)
    : qtArgc_(argc > 0 ? 1 : 0), qtArgv_{argc > 0 ? argv[0] : nullptr, nullptr} {
    // Qt starts threads of its own; any of them that did not block the focus
    // signal could take it and die of it.
    blockSignal(SIGUSR1);
    silenceQtMessages();
    // The few threads of the dialog (Qt's X event reader and D-Bus thread, the
    // font preload) allocate little and seldom: one malloc arena serves them
    // all, where an arena of each thread's own costs about 100 kB.
    mallopt(M_ARENA_MAX, 1);
}

QtToolkit::~QtToolkit() = default;

Application& QtToolkit::sharedApplication() {
    if (!application_) {
        const FontConfigurationPreload fonts;  // while Qt connects to the display
        application_ = std::make_unique<QtApplication>(qtArgc_, qtArgv_.data());
    }
    return *application_;
}

std::unique_ptr<Alert> QtToolkit::newAlert() {
    const bool skipTaskbar = static_cast<QtApplication&>(sharedApplication()).skipsTaskbar();
    return std::make_unique<QtAlert>(skipTaskbar);
}

std::unique_ptr<Image> QtToolkit::newImageWithData(std::string_view bytes) {
    sharedApplication();  // image plugins are found through the application
    QImage image;
    {
        const StandardErrorSilenced quiet;  // a corrupt file makes some decoders print
        image = QImage::fromData(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    if (image.isNull()) return nullptr;
    return std::make_unique<QtImage>(std::move(image));
}

std::unique_ptr<ProgressIndicator> QtToolkit::newProgressIndicatorWithFrame(Rect frame) {
    sharedApplication();
    return std::make_unique<QtProgressIndicator>(frame);
}

std::unique_ptr<Timer> QtToolkit::timerWithTimeInterval(double seconds, bool repeats,
                                                        std::function<void(Timer&)> block) {
    sharedApplication();
    return std::make_unique<QtTimer>(seconds, repeats, std::move(block));
}

void QtToolkit::addTimerToMainRunLoopCommonModes(Timer& timer) {
    if (auto* qtTimer = dynamic_cast<QtTimer*>(&timer)) qtTimer->schedule();
}

void QtToolkit::ignoreSignal(int signalNumber) {
    keepSignalFromTerminating(signalNumber);
}

std::unique_ptr<SignalSource> QtToolkit::signalSourceOnMainQueue(int signalNumber) {
    sharedApplication();
    return std::make_unique<SignalFdSource>(signalNumber);
}

}  // namespace tessary::update::qt
