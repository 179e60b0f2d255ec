#include "update_dialog.h"

#include <csignal>

#include "minimum_time.h"
#include "presentation.h"
#include "status_file.h"
#include "status_snapshot.h"

namespace tessary::update {
namespace {

constexpr std::string_view installRequest = "{\"action\":\"install\"}\n";
constexpr double pollInterval = 0.25;  // seconds
constexpr Rect progressFrame{0, 0, 280, 14};

// The program's whole state, under the names its run sequence gives them.
class UpdateDialog {
public:
    UpdateDialog(Toolkit& toolkit, std::FILE* standardOutput)
        : toolkit_(toolkit), standardOutput_(standardOutput) {}

    int run(std::vector<std::string> arguments);

private:
    void refresh();
    void focus();

    Toolkit& toolkit_;
    std::FILE* standardOutput_;

    std::vector<std::string> args;
    std::string statusURL;  // absolute path of the status file
    std::string installed;
    double minimumTime = 0;
    Application* app = nullptr;
    std::unique_ptr<Alert> alert;
    Button* primary = nullptr;
    std::unique_ptr<ProgressIndicator> progress;
    bool available = false;
    std::string lastState;
    std::unique_ptr<Timer> timer;
    std::unique_ptr<SignalSource> focusSignal;
    ModalResponse response = 0;
};

int UpdateDialog::run(std::vector<std::string> arguments) {
    args = std::move(arguments);
    if (args.size() <= 4) return 2;  // fewer than four arguments after the program path: nothing shown
    statusURL = absoluteFilePath(args[1]);
    installed = args[2];
    minimumTime = readMinimumTime(args[4]);

    // An accessory application: no Dock icon or menu bar, yet it can come to the front.
    app = &toolkit_.sharedApplication();
    app->setActivationPolicy(ActivationPolicy::accessory);

    alert = toolkit_.newAlert();
    alert->setAlertStyle(AlertStyle::informational);
    alert->setMessageText(std::string(checkingMessage));
    alert->setInformativeText("Tessary " + installed);
    if (auto icon = toolkit_.newImageWithContentsOfFile(args[3])) alert->setIcon(*icon);
    primary = &alert->addButtonWithTitle("Close");

    progress = toolkit_.newProgressIndicatorWithFrame(progressFrame);
    progress->setStyle(ProgressIndicatorStyle::bar);
    progress->setIndeterminate(true);
    progress->startAnimation();
    alert->setAccessoryView(progress.get());

    available = false;
    lastState.clear();

    // Scheduled in the common modes so that it also fires inside the modal loop;
    // the run loop only turns from runModal on, so no pass comes before it.
    timer = toolkit_.timerWithTimeInterval(pollInterval, true, [this](Timer&) { refresh(); });
    toolkit_.addTimerToMainRunLoopCommonModes(*timer);

    // The first pass runs before the dialog shows: a fresh file is visible from the first frame.
    refresh();

    // From here on the focus signal never ends the program; its deliveries are
    // observed on the main queue instead.
    toolkit_.ignoreSignal(SIGUSR1);
    focusSignal = toolkit_.signalSourceOnMainQueue(SIGUSR1);
    focusSignal->setEventHandler([this] { focus(); });
    focusSignal->resume();

    app->activateIgnoringOtherApps(true);
    response = alert->runModal();
    timer->invalidate();  // no pass after the loop: the decision below sees the last one

    // Only the first button confirms, and only while the last accepted pass offered an install.
    if (response == alertFirstButtonReturn && available) {
        std::fwrite(installRequest.data(), 1, installRequest.size(), standardOutput_);
        std::fflush(standardOutput_);
    }
    return 0;
}

// One refresh pass: read the status file and, when it yields a snapshot, show it.
void UpdateDialog::refresh() {
    const auto snapshot = readStatusSnapshot(statusURL, minimumTime);
    if (!snapshot) return;
    const bool busy = isStateIn(progressStates, snapshot->state);
    presentStatus(*snapshot, installed, *alert, *primary, available);
    showProgress(busy, snapshot->progress, *alert, *progress);
    relayoutOnStateChange(snapshot->state, lastState, *alert);
}

// Brings the dialog to the front and makes it the key window.
void UpdateDialog::focus() {
    app->activateIgnoringOtherApps(true);
    alert->window().makeKeyAndOrderFront();
}

}  // namespace

int runUpdateDialog(Toolkit& toolkit, std::vector<std::string> arguments, std::FILE* standardOutput) {
    UpdateDialog dialog(toolkit, standardOutput);
    return dialog.run(std::move(arguments));
}

}  // namespace tessary::update
