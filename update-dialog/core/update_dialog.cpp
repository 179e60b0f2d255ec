#include "update_dialog.h"

#include <chrono>
#include <optional>
#include <thread>

#include "file_path.h"
#include "focus_signal.h"
#include "minimum_time.h"
#include "presentation.h"
#include "regular_file.h"
#include "standard_output.h"
#include "status_file.h"
#include "status_snapshot.h"
#include "text_bounds.h"

namespace tessary::update {
namespace {

constexpr std::string_view installRequest = "{\"action\":\"install\"}\n";
// The exit statuses: a short command line, and an install the user confirmed
// whose request could not be delivered whole, so that the host never takes
// it for a dialog closed without one.
constexpr int shortCommandLine = 2;
constexpr int installRequestUndelivered = 1;
constexpr double pollInterval = 0.25;  // seconds
constexpr Rect progressFrame{0, 0, 280, 14};
// An icon file beyond this is no icon; it is not read into memory.
constexpr std::size_t maximumIconFileSize = 32 * 1024 * 1024;

double inSeconds(std::chrono::milliseconds duration) {
    return std::chrono::duration<double>(duration).count();
}

}  // namespace

// The program's whole state, under the names its run sequence gives them.
struct UpdateDialog::Program {
    Program(Toolkit& toolkit, std::FILE* standardOutput, Clock clock)
        : toolkit(toolkit), standardOutput(standardOutput), clock(std::move(clock)) {}

    int run(std::vector<std::string> arguments);
    std::optional<std::chrono::milliseconds> refresh();
    void tick();
    void readAgainWhenSettled(std::chrono::milliseconds wait);
    void focus();

    Toolkit& toolkit;
    std::FILE* standardOutput;
    Clock clock;

    std::vector<std::string> args;
    std::string statusURL;  // absolute path of the status file
    std::string installed;
    double minimumTime = 0;
    Application* app = nullptr;
    std::unique_ptr<Alert> alert;
    std::unique_ptr<Image> icon;  // drawn by the alert for as long as it lives
    Button* primary = nullptr;
    std::unique_ptr<ProgressIndicator> progress;
    bool available = false;
    std::string lastState;
    std::unique_ptr<Timer> timer;
    std::unique_ptr<SignalSource> focusSignal;
    ModalResponse response = 0;

    // Readings of a status file the host rewrites in place wait until it has
    // settled; a one-shot timer reads it again then, rather than a tick later.
    std::optional<StatusFileReader> statusFile;
    std::unique_ptr<Timer> settleTimer;
    bool settleTimerPending = false;
};

UpdateDialog::UpdateDialog(Toolkit& toolkit, std::FILE* standardOutput, Clock clock)
    : program_(std::make_unique<Program>(toolkit, standardOutput, std::move(clock))) {}

UpdateDialog::~UpdateDialog() = default;

int UpdateDialog::run(std::vector<std::string> arguments) {
    return program_->run(std::move(arguments));
}

int UpdateDialog::Program::run(std::vector<std::string> arguments) {
    args = std::move(arguments);
    // Fewer than four arguments after the program path: nothing is shown.
    if (args.size() <= 4) return shortCommandLine;
    statusURL = absoluteFilePath(args[1]);
    statusFile.emplace(statusURL, clock);
    installed = boundedText(args[2], versionBounds);  // only ever shown: cut like the file's texts
    minimumTime = readMinimumTime(args[4]);

    // An accessory application: no Dock icon or menu bar, yet it can come to the front.
    app = &toolkit.sharedApplication();
    app->setActivationPolicy(ActivationPolicy::accessory);

    alert = toolkit.newAlert();
    alert->setAlertStyle(AlertStyle::informational);
    alert->setMessageText(std::string(checkingMessage));
    alert->setInformativeText("Tessary " + installed);
    // The icon file is read like the status file: only a regular file, never
    // waiting on a FIFO or device, whatever bytes its path holds.
    if (const auto iconFile = readRegularFile(args[3], maximumIconFileSize)) {
        icon = toolkit.newImageWithData(iconFile->bytes);
        if (icon) alert->setIcon(*icon);
    }
    primary = &alert->addButtonWithTitle("Close");

    progress = toolkit.newProgressIndicatorWithFrame(progressFrame);
    progress->setStyle(ProgressIndicatorStyle::bar);
    progress->setIndeterminate(true);
    progress->startAnimation();
    alert->setAccessoryView(progress.get());

    available = false;
    lastState.clear();

    // Scheduled in the common modes so that it also fires inside the modal loop;
    // the run loop only turns from runModal on, so no pass comes before it.
    timer = toolkit.timerWithTimeInterval(pollInterval, true, [this](Timer&) { tick(); });
    toolkit.addTimerToMainRunLoopCommonModes(*timer);

    // The first pass runs before the dialog shows: a fresh file is visible from
    // the first frame, even one written in place a moment ago.
    if (const auto wait = refresh()) {
        std::this_thread::sleep_for(*wait);
        refresh();
    }

    // From here on the focus signal never ends the program; its deliveries are
    // observed on the main queue instead.
    toolkit.ignoreSignal(focusSignalNumber());
    focusSignal = toolkit.signalSourceOnMainQueue(focusSignalNumber());
    focusSignal->setEventHandler([this] { focus(); });
    focusSignal->resume();

    app->activateIgnoringOtherApps(true);
    response = alert->runModal();
    // No pass after the loop: the decision below sees the last one.
    timer->invalidate();
    if (settleTimerPending) settleTimer->invalidate();

    // Only the first button confirms, and only while the last accepted pass offered an install.
    if (response == alertFirstButtonReturn && available &&
        !writeWholeAndFlush(standardOutput, installRequest))
        return installRequestUndelivered;
    return 0;
}

// One refresh pass: read the status file and, when it yields a snapshot, show
// it. Returns how long until a file rewritten in place too recently to be
// trusted will have settled, when that is what held the pass back.
std::optional<std::chrono::milliseconds> UpdateDialog::Program::refresh() {
    auto reading = statusFile->read();
    if (!reading.bytes) return reading.settlesIn;
    const auto snapshot = parseStatusSnapshot(*reading.bytes, minimumTime);
    if (!snapshot) return std::nullopt;
    const bool busy = isStateIn(progressStates, snapshot->state);
    presentStatus(*snapshot, installed, *alert, *primary, available);
    showProgress(busy, snapshot->progress, *alert, *progress);
    relayoutOnStateChange(snapshot->state, lastState, *alert);
    return std::nullopt;
}

// A tick of the poll timer. A file that has not settled yet is read again as
// soon as it has, so a host rewriting it in place every 100 ms is still seen
// at nearly every tick.
void UpdateDialog::Program::tick() {
    if (const auto wait = refresh()) readAgainWhenSettled(*wait);
}

void UpdateDialog::Program::readAgainWhenSettled(std::chrono::milliseconds wait) {
    if (settleTimerPending) return;
    settleTimerPending = true;
    settleTimer = toolkit.timerWithTimeInterval(inSeconds(wait), false, [this](Timer&) {
        settleTimerPending = false;
        refresh();  // once: a file still changing waits for the next tick
    });
    toolkit.addTimerToMainRunLoopCommonModes(*settleTimer);
}

// Brings the dialog to the front and makes it the key window.
void UpdateDialog::Program::focus() {
    app->activateIgnoringOtherApps(true);
    alert->window().makeKeyAndOrderFront();
}

}  // namespace tessary::update
