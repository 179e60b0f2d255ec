// The AppKit toolkit's timer and focus signal deliver on the main thread through the main run loop,
// and its application takes the accessory activation policy.
#import <AppKit/AppKit.h>

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>

#include "appkit_toolkit.h"
#include "run_loop_timer.h"

namespace tessary::update::appkit {
namespace {

// Runs the main run loop until `done` holds. What the tests wait for comes within milliseconds; the
// limit only keeps a broken build from hanging, and the tests assert that it came, not how fast.
bool runMainLoopUntil(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        [NSRunLoop.mainRunLoop runMode:NSDefaultRunLoopMode
                            beforeDate:[NSDate dateWithTimeIntervalSinceNow:0.1]];
    }
    return true;
}

NSTimer* nsTimerOf(Timer& timer) {
    return dynamic_cast<RunLoopTimer&>(timer).nsTimer();
}

TEST(RunLoopTimer, IsMadeWithItsIntervalAndStopsForGoodWhenInvalidated) {
    AppKitToolkit toolkit;
    const std::unique_ptr<Timer> timer = toolkit.timerWithTimeInterval(0.25, true, [](Timer&) {});
    NSTimer* nsTimer = nsTimerOf(*timer);
    EXPECT_TRUE(nsTimer.valid);
    EXPECT_EQ(nsTimer.timeInterval, 0.25);
    timer->invalidate();
    EXPECT_FALSE(nsTimer.valid);
}

TEST(RunLoopTimer, FiresOnTheMainThreadWithItselfOnceScheduled) {
    AppKitToolkit toolkit;
    int firings = 0;
    Timer* firedWith = nullptr;
    bool onMainThread = true;
    const std::unique_ptr<Timer> timer = toolkit.timerWithTimeInterval(0.01, true, [&](Timer& fired) {
        ++firings;
        firedWith = &fired;
        onMainThread = onMainThread && pthread_main_np() != 0;
    });
    toolkit.addTimerToMainRunLoopCommonModes(*timer);
    EXPECT_TRUE(runMainLoopUntil([&] { return firings >= 2; }));
    EXPECT_EQ(firedWith, timer.get());
    EXPECT_TRUE(onMainThread);
    timer->invalidate();
}

TEST(RunLoopTimer, InvalidatesItsTimerWhenDestroyed) {
    AppKitToolkit toolkit;
    std::unique_ptr<Timer> timer = toolkit.timerWithTimeInterval(0.25, true, [](Timer&) {});
    NSTimer* nsTimer = nsTimerOf(*timer);
    toolkit.addTimerToMainRunLoopCommonModes(*timer);
    timer.reset();
    // Its block refers to the object just destroyed: it must never fire again.
    EXPECT_FALSE(nsTimer.valid);
}

TEST(DispatchSignalSource, DeliversAnIgnoredSignalOnTheMainThread) {
    AppKitToolkit toolkit;
    toolkit.ignoreSignal(SIGUSR1);
    const std::unique_ptr<SignalSource> source = toolkit.signalSourceOnMainQueue(SIGUSR1);
    int deliveries = 0;
    bool onMainThread = true;
    source->setEventHandler([&] {
        ++deliveries;
        onMainThread = onMainThread && pthread_main_np() != 0;
    });
    source->resume();
    // Sent to the process, as the host application sends it: it no longer ends the process, and the
    // source still sees it.
    ASSERT_EQ(kill(getpid(), SIGUSR1), 0);
    EXPECT_TRUE(runMainLoopUntil([&] { return deliveries >= 1; }));
    EXPECT_TRUE(onMainThread);
}

TEST(DispatchSignalSource, CanBeDestroyedWithoutEverBeingResumed) {
    AppKitToolkit toolkit;
    std::unique_ptr<SignalSource> source = toolkit.signalSourceOnMainQueue(SIGUSR1);
    source->setEventHandler([] {});
    source.reset();
    SUCCEED();
}

TEST(AppKitApplication, TakesTheAccessoryPolicyAndIsHandedOutOnce) {
    AppKitToolkit toolkit;
    Application& application = toolkit.sharedApplication();
    EXPECT_EQ(&toolkit.sharedApplication(), &application);
    EXPECT_TRUE(application.setActivationPolicy(ActivationPolicy::accessory));
    EXPECT_EQ(NSApplication.sharedApplication.activationPolicy, NSApplicationActivationPolicyAccessory);
}

}  // namespace
}  // namespace tessary::update::appkit
