// The run loop: timers fire only between scheduling and invalidation, at the
// interval asked for, one-shot ones once; and focus requests on standard input
// reach the main thread, however they are written, until the input ends.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "standard_input_source.h"
#include "toolkit_test_support.h"

namespace tessary::update::win32 {
namespace {

using namespace std::chrono_literals;
using testing::pumpFor;
using testing::pumpUntil;

TEST(Win32Timer, FiresOnlyBetweenSchedulingAndInvalidation) {
    Win32Toolkit toolkit(nullptr);
    int fired = 0;
    auto timer = toolkit.timerWithTimeInterval(0.05, true, [&fired](Timer&) { ++fired; });
    pumpFor(200ms);  // not scheduled yet
    EXPECT_EQ(fired, 0);
    toolkit.addTimerToMainRunLoopCommonModes(*timer);
    EXPECT_TRUE(pumpUntil([&fired] { return fired >= 2; }));
    timer->invalidate();
    const int firedBefore = fired;
    toolkit.addTimerToMainRunLoopCommonModes(*timer);  // an invalidated timer stays stopped
    pumpFor(300ms);
    EXPECT_EQ(fired, firedBefore);
}

// A repeating timer of 0.25 s fires about four times a second (not forty), a one-shot one once.
TEST(Win32Timer, FiresAtTheIntervalAskedFor) {
    Win32Toolkit toolkit(nullptr);
    int repeating = 0;
    int oneShot = 0;
    auto poll = toolkit.timerWithTimeInterval(0.25, true, [&repeating](Timer&) { ++repeating; });
    auto once = toolkit.timerWithTimeInterval(0.05, false, [&oneShot](Timer&) { ++oneShot; });
    toolkit.addTimerToMainRunLoopCommonModes(*poll);
    toolkit.addTimerToMainRunLoopCommonModes(*once);
    pumpFor(1100ms);
    poll->invalidate();
    EXPECT_GE(repeating, 2);
    EXPECT_LE(repeating, 5);
    EXPECT_EQ(oneShot, 1);
}

struct Pipe {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    Pipe() { CreatePipe(&read, &write, nullptr, 0); }
    ~Pipe() {
        closeWriter();
        if (read) CloseHandle(read);
    }
    void send(const std::string& bytes) const {
        DWORD written = 0;
        WriteFile(write, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    void closeWriter() {
        if (write) CloseHandle(write);
        write = nullptr;
    }
};

struct Source {
    Win32Toolkit toolkit;
    std::unique_ptr<SignalSource> source;
    int requests = 0;
    bool ended = false;

    explicit Source(HANDLE input) : toolkit(input) {
        source = toolkit.signalSourceOnMainQueue(30);
        source->setEventHandler([this] { ++requests; });
        source->resume();
    }
};

// Each request runs the handler on the main thread; several that arrive before
// it runs may run it once, but a request is never lost.
TEST(StandardInputSource, EachFocusLineRunsTheFocusAction) {
    const std::vector<std::pair<const char*, std::vector<std::string>>> cases{
        {"a line", {"focus\n"}},
        {"a line ended by CR LF", {"focus\r\n"}},
        {"a line in pieces", {"fo", "cu", "s", "\n"}},
        {"after other lines", {"hello\nfocused\nFOCUS\n focus\n", "focus\n"}},
        {"after a long line", {std::string(100'000, 'x') + "focus\n", "focus\n"}},
    };
    for (const auto& [name, writes] : cases) {
        Pipe pipe;
        Source source(pipe.read);
        for (const std::string& bytes : writes) {
            pipe.send(bytes);
            pumpFor(20ms);
        }
        EXPECT_TRUE(pumpUntil([&] { return source.requests >= 1; })) << name;
        pumpFor(100ms);
        EXPECT_EQ(source.requests, 1) << name;
    }
}

TEST(StandardInputSource, OtherLinesRunNothing) {
    Pipe pipe;
    Source source(pipe.read);
    pipe.send("focusx\nfocus \n\nfocus\r\r\nfocu\ns\n" + std::string(1 << 20, 'f') +
              "\nfocus");  // the last unended
    pumpFor(500ms);
    EXPECT_EQ(source.requests, 0);
}

TEST(StandardInputSource, RequestsKeepComingAfterTheHandlerRan) {
    Pipe pipe;
    Source source(pipe.read);
    for (int i = 1; i <= 3; ++i) {
        pipe.send("focus\n");
        EXPECT_TRUE(pumpUntil([&] { return source.requests >= i; })) << i;
    }
}

// The end of input means that the host has gone: the modal loop ends as if
// the dialog were closed, never with the first button.
TEST(StandardInputSource, TheEndOfInputEndsTheModalLoop) {
    Pipe pipe;
    Source source(pipe.read);
    auto alert = source.toolkit.newAlert();
    alert->addButtonWithTitle("Install & Relaunch");
    const auto end = testing::during(source.toolkit, 0.2, [&] { pipe.closeWriter(); });
    const auto giveUp =
        testing::during(source.toolkit, 10, [&] { source.toolkit.runLoop().requestStop(-1); });
    EXPECT_EQ(alert->runModal(), 0);
}

// Standard input that is no pipe is never read, and never ends the dialog.
TEST(StandardInputSource, InputThatIsNoPipeIsNeverRead) {
    const HANDLE null = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(null, INVALID_HANDLE_VALUE);
    {
        Source source(null);
        auto alert = source.toolkit.newAlert();
        alert->addButtonWithTitle("Close");
        const auto giveUp =
            testing::during(source.toolkit, 0.5, [&] { source.toolkit.runLoop().requestStop(-1); });
        EXPECT_EQ(alert->runModal(), -1);
        EXPECT_EQ(source.requests, 0);
    }
    CloseHandle(null);
}

}  // namespace
}  // namespace tessary::update::win32
