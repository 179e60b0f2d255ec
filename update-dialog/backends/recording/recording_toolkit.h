// A toolkit that draws nothing: it writes every call it receives, in order, as
// a line of readable text, and runs the modal loop from a script (timer ticks,
// focus signals, actions between them, a button press). The dialog's tests
// drive the whole program through it and compare the lines.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "core/toolkit.h"

namespace tessary::update::recording {

// One step of a scripted modal loop.
struct TimerTick {};          // the repeating timer (the poll timer) fires, when it is scheduled and valid
struct OneShotTimerFires {};  // every scheduled one-shot timer that is still valid fires, once
struct FocusSignal {};        // SIGUSR1 arrives; runs the handler of a resumed source
struct Press {                // the user presses button `number` (1 is the first); ends the loop
    int number = 1;
};
struct Action {  // anything else between events, e.g. rewriting the status file
    std::function<void()> run;
};
// The run loop turns in real time for this long: each scheduled timer fires
// when it is due (the repeating one at its interval, one-shot ones once).
struct RealTime {
    double seconds = 0;
};
using Step = std::variant<TimerTick, OneShotTimerFires, FocusSignal, Press, Action, RealTime>;

// Objects the toolkit makes log into it when they are released, so they must
// not outlive the toolkit.
class CallLog {
public:
    void add(std::string line) { lines_.push_back(std::move(line)); }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

class RecordingToolkit final : public Toolkit {
public:
    RecordingToolkit();
    ~RecordingToolkit() override;

    // The steps runModal goes through. Without a Press it returns -1000 (abort).
    void scriptModalLoop(std::vector<Step> steps);

    const std::vector<std::string>& calls() const { return log_.lines(); }

    Application& sharedApplication() override;
    std::unique_ptr<Alert> newAlert() override;
    std::unique_ptr<Image> newImageWithData(std::string_view bytes) override;
    std::unique_ptr<ProgressIndicator> newProgressIndicatorWithFrame(Rect frame) override;
    std::unique_ptr<Timer> timerWithTimeInterval(double seconds, bool repeats,
                                                 std::function<void(Timer&)> block) override;
    void addTimerToMainRunLoopCommonModes(Timer& timer) override;
    void ignoreSignal(int signalNumber) override;
    std::unique_ptr<SignalSource> signalSourceOnMainQueue(int signalNumber) override;

    // What runModal needs to reach the timer and the signal source.
    struct Loop;

private:
    CallLog log_;
    std::unique_ptr<Application> application_;
    std::unique_ptr<Loop> loop_;
};

// Quotes a text for the log: "..." with \r, \n, \t, \" and \\ escaped.
std::string quoted(const std::string& text);

}  // namespace tessary::update::recording
