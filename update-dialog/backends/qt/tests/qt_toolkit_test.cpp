// The Qt toolkit's own promises, on Qt's offscreen platform (no display):
// objects may go in any order, a bar outside an alert never shows as a window,
// a busy bar moves while a determinate one stands still,
// Return presses only the button whose key equivalent is a carriage return,
// the timer fires only while scheduled, and focus signals are never lost.
#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QKeyEvent>
#include <QProgressBar>
#include <QTimer>

#include "qt_toolkit.h"
#include "view.h"

namespace tessary::update::qt {
namespace {

// One toolkit (and so one QApplication) per test process, made by main() so
// that it goes before Qt's own process-wide state does.
QtToolkit*& currentToolkit() {
    static QtToolkit* instance = nullptr;
    return instance;
}

QtToolkit& toolkit() {
    return *currentToolkit();
}

// Runs the event loop until `done` holds or a generous time has passed.
bool processEventsUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        usleep(1000);
    }
    return done();
}

bool anyWindowVisible() {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](QWidget* widget) { return widget->isVisible(); });
}

TEST(QtToolkitLifetimes, ObjectsMayBeDestroyedInAnyOrder) {
    std::vector<int> order{0, 1, 2, 3};
    do {
        auto alert = toolkit().newAlert();
        auto progress = toolkit().newProgressIndicatorWithFrame({0, 0, 280, 14});
        auto timer = toolkit().timerWithTimeInterval(0.25, true, [](Timer&) {});
        auto signalSource = toolkit().signalSourceOnMainQueue(SIGUSR1);
        Button& first = alert->addButtonWithTitle("Close");
        alert->addButtonWithTitle("Later");
        alert->setAccessoryView(progress.get());
        progress->setHidden(false);
        toolkit().addTimerToMainRunLoopCommonModes(*timer);
        signalSource->resume();

        for (int step : order) {
            switch (step) {
                case 0:
                    alert.reset();
                    break;
                case 1:
                    progress.reset();
                    break;
                case 2:
                    timer.reset();
                    break;
                case 3:
                    signalSource.reset();
                    break;
            }
            // Whatever is left keeps working.
            if (alert) {
                first.setTitle("Install & Relaunch");
                alert->setAccessoryView(progress.get());
                alert->layout();
            }
            if (progress) {
                progress->setHidden(false);
                progress->setDoubleValue(50);
            }
            if (timer) timer->invalidate();
        }
        EXPECT_FALSE(anyWindowVisible());
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(QtToolkitProgress, ABarOutsideAnAlertNeverShowsAsAWindow) {
    auto alert = toolkit().newAlert();
    auto progress = toolkit().newProgressIndicatorWithFrame({0, 0, 280, 14});
    progress->setHidden(false);
    EXPECT_FALSE(anyWindowVisible());

    alert->setAccessoryView(progress.get());
    alert->setAccessoryView(nullptr);
    progress->setHidden(false);
    EXPECT_FALSE(anyWindowVisible());
}

// The busy bar draws its own animation: its frames differ over time while it
// is shown, and a determinate bar looks the same however long it is watched.
TEST(QtToolkitProgress, ABusyBarMovesAndADeterminateOneStandsStill) {
    auto alert = toolkit().newAlert();
    alert->addButtonWithTitle("Close");
    auto progress = toolkit().newProgressIndicatorWithFrame({0, 0, 280, 14});
    progress->setIndeterminate(true);
    progress->startAnimation();
    alert->setAccessoryView(progress.get());
    progress->setHidden(false);
    QWidget* bar = dynamic_cast<QtView&>(*progress).widget();
    ASSERT_NE(bar, nullptr);

    bool busyMoved = false;
    bool determinateStill = false;
    QTimer::singleShot(0, [&] {
        const QImage busyFrame = bar->grab().toImage();
        busyMoved = processEventsUntil([&] { return bar->grab().toImage() != busyFrame; });

        progress->setIndeterminate(false);
        progress->setDoubleValue(40);
        const QImage determinateFrame = bar->grab().toImage();
        // Longer than several frames of the busy bar's animation.
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        processEventsUntil([end] { return std::chrono::steady_clock::now() >= end; });
        determinateStill = bar->grab().toImage() == determinateFrame;
        QApplication::activeModalWidget()->close();
    });
    alert->runModal();
    EXPECT_TRUE(busyMoved);
    EXPECT_TRUE(determinateStill);
}

struct KeyCase {
    const char* name;
    std::string firstKeyEquivalent;
    std::vector<int> keys;  // typed in this order; Escape ends every case
    ModalResponse expected;
};

class QtToolkitKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(QtToolkitKeys, ReturnPressesOnlyTheButtonWhoseKeyEquivalentIsReturn) {
    const KeyCase& keyCase = GetParam();
    auto alert = toolkit().newAlert();
    alert->addButtonWithTitle("Install & Relaunch").setKeyEquivalent(keyCase.firstKeyEquivalent);
    alert->addButtonWithTitle("Later");
    QTimer::singleShot(0, [&keyCase] {
        for (int key : keyCase.keys) {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;  // an earlier key ended the loop
            QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(target, &press);
        }
    });
    EXPECT_EQ(alert->runModal(), keyCase.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, QtToolkitKeys,
    testing::Values(KeyCase{"ReturnOnTheDefault", "\r", {Qt::Key_Return}, alertFirstButtonReturn},
                    KeyCase{"EnterOnTheDefault", "\r", {Qt::Key_Enter}, alertFirstButtonReturn},
                    KeyCase{"ReturnWithoutEquivalent", "", {Qt::Key_Return, Qt::Key_Escape}, 0},
                    KeyCase{"EnterWithoutEquivalent", "", {Qt::Key_Enter, Qt::Key_Escape}, 0},
                    KeyCase{"EscapeIsNeverTheFirstButton", "\r", {Qt::Key_Escape}, 0}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(QtToolkitTimer, FiresOnlyBetweenSchedulingAndInvalidation) {
    int fired = 0;
    auto timer = toolkit().timerWithTimeInterval(0.05, true, [&fired](Timer&) { ++fired; });
    processEventsUntil([] { return false; });  // unscheduled: a long wait, and nothing
    EXPECT_EQ(fired, 0);

    toolkit().addTimerToMainRunLoopCommonModes(*timer);
    EXPECT_TRUE(processEventsUntil([&fired] { return fired >= 2; }));

    timer->invalidate();
    const int firedBefore = fired;
    toolkit().addTimerToMainRunLoopCommonModes(*timer);  // an invalidated timer stays stopped
    QApplication::processEvents(QEventLoop::AllEvents, 300);
    usleep(300'000);
    QApplication::processEvents(QEventLoop::AllEvents, 300);
    EXPECT_EQ(fired, firedBefore);
}

// The interval is the one asked for: a repeating timer of 0.25 s fires about
// four times a second (not forty), and a one-shot timer fires once.
TEST(QtToolkitTimer, FiresAtTheIntervalAskedFor) {
    int repeating = 0;
    int oneShot = 0;
    auto poll = toolkit().timerWithTimeInterval(0.25, true, [&repeating](Timer&) { ++repeating; });
    auto once = toolkit().timerWithTimeInterval(0.05, false, [&oneShot](Timer&) { ++oneShot; });
    toolkit().addTimerToMainRunLoopCommonModes(*poll);
    toolkit().addTimerToMainRunLoopCommonModes(*once);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1100);
    processEventsUntil([end] { return std::chrono::steady_clock::now() >= end; });
    poll->invalidate();
    EXPECT_GE(repeating, 2);
    EXPECT_LE(repeating, 5);
    EXPECT_EQ(oneShot, 1);
}

// Away from X11 the focus action relies on Qt alone; a minimized dialog must
// still come back, in front and active.
TEST(QtToolkitFocus, AMinimizedDialogComesBack) {
    auto alert = toolkit().newAlert();
    alert->addButtonWithTitle("Close");
    bool restored = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->showMinimized();
        processEventsUntil([dialog] { return dialog->isMinimized(); });
        alert->window().makeKeyAndOrderFront();
        restored = processEventsUntil([dialog] { return !dialog->isMinimized() && dialog->isVisible(); });
        static_cast<QDialog*>(dialog)->done(static_cast<int>(alertFirstButtonReturn));
    });
    EXPECT_EQ(alert->runModal(), alertFirstButtonReturn);
    EXPECT_TRUE(restored);
}

TEST(QtToolkitSignals, SignalsSentBeforeTheSourceExistsAreReportedAndNeverFatal) {
    toolkit().ignoreSignal(SIGUSR1);
    for (int i = 0; i < 200; ++i) kill(getpid(), SIGUSR1);

    int reported = 0;
    auto source = toolkit().signalSourceOnMainQueue(SIGUSR1);
    source->setEventHandler([&reported] { ++reported; });
    source->resume();
    EXPECT_TRUE(processEventsUntil([&reported] { return reported >= 1; }));

    const int reportedBefore = reported;
    for (int i = 0; i < 200; ++i) kill(getpid(), SIGUSR1);
    EXPECT_TRUE(processEventsUntil([&] { return reported > reportedBefore; }));
}

}  // namespace
}  // namespace tessary::update::qt

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // No display needed, also when the build lists the tests.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tessary::update::qt::QtToolkit toolkit(argc, argv);
    toolkit.sharedApplication();
    tessary::update::qt::currentToolkit() = &toolkit;
    return RUN_ALL_TESTS();
}
