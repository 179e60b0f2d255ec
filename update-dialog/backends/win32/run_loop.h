// The main thread's run loop as the toolkit's objects see it: a message-only
// window whose messages every modal loop dispatches (the alert's, and the ones
// Windows runs while the user drags the window), so that timers and work
// handed over from other threads are run on the main thread there too. It
// also carries how the alert's modal loop is to end.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "core/toolkit.h"

namespace tessary::update::win32 {

// Work handed to the main thread from any thread. It outlives the run loop
// for the threads that still hold it: once the run loop has gone, work posted
// to it is dropped.
class MainThreadChannel {
public:
    explicit MainThreadChannel(HWND window) : window_(window) {}
    // Queues `work` to run on the main thread; false once the run loop has gone.
    bool post(std::function<void()> work);
    // The work queued so far, to run now (main thread).
    std::deque<std::function<void()>> take();
    void close();

private:
    std::mutex mutex_;
    HWND window_;
    std::deque<std::function<void()>> queue_;
    bool wakePending_ = false;
};

class RunLoop {
public:
    // Creates the message-only window; nothing (no window) when Windows refuses it.
    static std::unique_ptr<RunLoop> create();
    ~RunLoop();
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    const std::shared_ptr<MainThreadChannel>& channel() const { return channel_; }

    // Timers: `fire` runs on the main thread every `milliseconds` once started.
    using TimerId = UINT_PTR;
    TimerId addTimer(std::function<void()> fire);
    void startTimer(TimerId timer, UINT milliseconds);
    void stopTimer(TimerId timer);
    void removeTimer(TimerId timer);

    // How the modal loop ends: the first request wins until the loop takes it.
    void requestStop(ModalResponse response);
    bool stopRequested() const { return stop_.has_value(); }
    ModalResponse takeStop();

    // Runs the work already handed over from other threads, now.
    void runPostedWork();

private:
    explicit RunLoop(HWND window);
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_;
    std::shared_ptr<MainThreadChannel> channel_;
    std::map<TimerId, std::function<void()>> timers_;
    TimerId nextTimer_ = 1;
    std::optional<ModalResponse> stop_;
};

// The message with which a channel wakes the run loop.
inline constexpr UINT postedWorkMessage = WM_APP + 1;

}  // namespace tessary::update::win32
