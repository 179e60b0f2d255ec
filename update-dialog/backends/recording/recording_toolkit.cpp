#include "recording_toolkit.h"

#include "core/focus_signal.h"

#include <chrono>
#include <sstream>
#include <thread>

namespace tessary::update::recording {
namespace {

std::string yesNo(bool flag) {
    return flag ? "YES" : "NO";
}

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// The focus signal goes by its POSIX name on every platform, so that one log
// reads the same wherever the tests run.
std::string signalName(int signalNumber) {
    return signalNumber == focusSignalNumber() ? "SIGUSR1" : std::to_string(signalNumber);
}

class RecordingApplication final : public Application {
public:
    explicit RecordingApplication(CallLog& log) : log_(log) {}
    bool setActivationPolicy(ActivationPolicy policy) override {
        log_.add("app.setActivationPolicy(" + std::to_string(static_cast<std::int64_t>(policy)) + ")");
        return true;
    }
    void activateIgnoringOtherApps(bool flag) override {
        log_.add("app.activateIgnoringOtherApps(" + yesNo(flag) + ")");
    }

private:
    CallLog& log_;
};

class RecordingImage final : public Image {
public:
    explicit RecordingImage(CallLog& log) : log_(log) {}
    ~RecordingImage() override { log_.add("image.release"); }

private:
    CallLog& log_;
};

class RecordingProgressIndicator final : public ProgressIndicator {
public:
    explicit RecordingProgressIndicator(CallLog& log) : log_(log) {}
    ~RecordingProgressIndicator() override { log_.add("progress.release"); }
    void setHidden(bool hidden) override { log_.add("progress.setHidden(" + yesNo(hidden) + ")"); }
    void setStyle(ProgressIndicatorStyle style) override {
        log_.add("progress.setStyle(" + std::to_string(static_cast<std::uint64_t>(style)) + ")");
    }
    void setIndeterminate(bool flag) override { log_.add("progress.setIndeterminate(" + yesNo(flag) + ")"); }
    void startAnimation() override { log_.add("progress.startAnimation(nil)"); }
    void setDoubleValue(double value) override { log_.add("progress.setDoubleValue(" + number(value) + ")"); }

private:
    CallLog& log_;
};

class RecordingButton final : public Button {
public:
    RecordingButton(CallLog& log, std::string name) : log_(log), name_(std::move(name)) {}
    void setTitle(const std::string& title) override { log_.add(name_ + ".setTitle(" + quoted(title) + ")"); }
    void setKeyEquivalent(const std::string& key) override {
        log_.add(name_ + ".setKeyEquivalent(" + quoted(key) + ")");
    }

private:
    CallLog& log_;
    std::string name_;
};

class RecordingWindow final : public Window {
public:
    explicit RecordingWindow(CallLog& log) : log_(log) {}
    void makeKeyAndOrderFront() override { log_.add("window.makeKeyAndOrderFront(nil)"); }

private:
    CallLog& log_;
};

}  // namespace

class RecordingTimer;
class RecordingSignalSource;

using Clock = std::chrono::steady_clock;

struct RecordingToolkit::Loop {
    std::vector<Step> script;
    std::vector<RecordingTimer*> scheduled;  // in the order they were added to the run loop
    std::vector<RecordingSignalSource*> sources;
    int timersMade = 0;

    RecordingTimer* repeatingTimer() const;
    std::vector<RecordingTimer*> oneShotTimers() const;
    void runInRealTime(CallLog& log, double seconds);
};

// Named "timer" for the first one made, "timer2", "timer3", ... after it.
class RecordingTimer final : public Timer {
public:
    RecordingTimer(CallLog& log, RecordingToolkit::Loop& loop, double seconds, bool repeats,
                   std::function<void(Timer&)> block)
        : log_(log),
          loop_(loop),
          name_(++loop.timersMade == 1 ? "timer" : "timer" + std::to_string(loop.timersMade)),
          interval_(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds))),
          repeats_(repeats),
          block_(std::move(block)) {}
    ~RecordingTimer() override {
        log_.add(name_ + ".release");
        unschedule();
    }
    void invalidate() override {
        log_.add(name_ + ".invalidate");
        valid_ = false;
        unschedule();
    }

    void schedule() {
        if (!valid_) return;
        due_ = Clock::now() + interval_;
        loop_.scheduled.push_back(this);
    }
    const std::string& name() const { return name_; }
    bool repeats() const { return repeats_; }
    Clock::time_point due() const { return due_; }

    // A one-shot timer invalidates itself as it fires; a repeating one is due
    // again at its next interval from now on (missed firings are not made up).
    void fire() {
        if (!valid_) return;
        if (repeats_) {
            const auto now = Clock::now();
            while (due_ <= now) due_ += interval_;
        } else {
            valid_ = false;
            unschedule();
        }
        block_(*this);
    }

private:
    void unschedule() { std::erase(loop_.scheduled, this); }

    CallLog& log_;
    RecordingToolkit::Loop& loop_;
    std::string name_;
    Clock::duration interval_;
    bool repeats_;
    std::function<void(Timer&)> block_;
    bool valid_ = true;
    Clock::time_point due_{};
};

RecordingTimer* RecordingToolkit::Loop::repeatingTimer() const {
    for (RecordingTimer* timer : scheduled) {
        if (timer->repeats()) return timer;
    }
    return nullptr;
}

std::vector<RecordingTimer*> RecordingToolkit::Loop::oneShotTimers() const {
    std::vector<RecordingTimer*> timers;
    for (RecordingTimer* timer : scheduled) {
        if (!timer->repeats()) timers.push_back(timer);
    }
    return timers;
}

void RecordingToolkit::Loop::runInRealTime(CallLog& log, double seconds) {
    const auto end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    for (;;) {
        RecordingTimer* next = nullptr;
        for (RecordingTimer* timer : scheduled) {
            if (!next || timer->due() < next->due()) next = timer;
        }
        if (!next || next->due() > end) break;
        std::this_thread::sleep_until(next->due());
        log.add(next->repeats() ? "-- timer fires" : "-- one-shot timer fires");
        next->fire();
    }
    std::this_thread::sleep_until(end);
}

class RecordingSignalSource final : public SignalSource {
public:
    RecordingSignalSource(CallLog& log, RecordingToolkit::Loop& loop) : log_(log), loop_(loop) {
        loop_.sources.push_back(this);
    }
    ~RecordingSignalSource() override {
        log_.add("focusSignal.release");
        std::erase(loop_.sources, this);
    }
    void setEventHandler(std::function<void()> handler) override {
        log_.add("focusSignal.setEventHandler");
        handler_ = std::move(handler);
    }
    void resume() override {
        log_.add("focusSignal.resume");
        resumed_ = true;
    }
    void deliver() {
        if (resumed_ && handler_) handler_();
    }

private:
    CallLog& log_;
    RecordingToolkit::Loop& loop_;
    std::function<void()> handler_;
    bool resumed_ = false;
};

namespace {

class RecordingAlert final : public Alert {
public:
    RecordingAlert(CallLog& log, RecordingToolkit::Loop& loop) : log_(log), loop_(loop), window_(log) {}
    ~RecordingAlert() override { log_.add("alert.release"); }

    void setAlertStyle(AlertStyle style) override {
        log_.add("alert.setAlertStyle(" + std::to_string(static_cast<std::uint64_t>(style)) + ")");
    }
    void setMessageText(const std::string& text) override {
        log_.add("alert.setMessageText(" + quoted(text) + ")");
    }
    void setInformativeText(const std::string& text) override {
        log_.add("alert.setInformativeText(" + quoted(text) + ")");
    }
    void setIcon(Image&) override { log_.add("alert.setIcon(image)"); }
    Button& addButtonWithTitle(const std::string& title) override {
        const std::string name = "button" + std::to_string(buttons_.size() + 1);
        log_.add("alert.addButtonWithTitle(" + quoted(title) + ") -> " + name);
        buttons_.push_back(std::make_unique<RecordingButton>(log_, name));
        return *buttons_.back();
    }
    std::size_t buttonsCount() const override {
        log_.add("alert.buttons.count -> " + std::to_string(buttons_.size()));
        return buttons_.size();
    }
    void setAccessoryView(View* view) override {
        log_.add(std::string("alert.setAccessoryView(") + (view ? "progress" : "nil") + ")");
    }
    void layout() override { log_.add("alert.layout"); }
    Window& window() override { return window_; }
    ModalResponse runModal() override;

private:
    CallLog& log_;
    RecordingToolkit::Loop& loop_;
    RecordingWindow window_;
    std::vector<std::unique_ptr<RecordingButton>> buttons_;
};

ModalResponse RecordingAlert::runModal() {
    log_.add("alert.runModal");
    ModalResponse response = -1000;  // NSModalResponseAbort: the script ended without a press
    auto script = std::move(loop_.script);
    loop_.script.clear();
    for (Step& step : script) {
        if (std::holds_alternative<TimerTick>(step)) {
            log_.add("-- timer fires");
            if (RecordingTimer* timer = loop_.repeatingTimer()) timer->fire();
        } else if (std::holds_alternative<OneShotTimerFires>(step)) {
            log_.add("-- one-shot timer fires");
            for (RecordingTimer* timer : loop_.oneShotTimers()) timer->fire();
        } else if (auto* realTime = std::get_if<RealTime>(&step)) {
            loop_.runInRealTime(log_, realTime->seconds);
        } else if (std::holds_alternative<FocusSignal>(step)) {
            log_.add("-- SIGUSR1");
            for (RecordingSignalSource* source : loop_.sources) source->deliver();
        } else if (auto* action = std::get_if<Action>(&step)) {
            action->run();
        } else if (auto* press = std::get_if<Press>(&step)) {
            log_.add("-- press button" + std::to_string(press->number));
            if (press->number >= 1 && static_cast<std::size_t>(press->number) <= buttons_.size()) {
                response = alertFirstButtonReturn + press->number - 1;
                break;
            }
        }
    }
    log_.add("alert.runModal -> " + std::to_string(response));
    return response;
}

// Only PNG images decode here; any other bytes hold no image.
bool holdsPngImage(std::string_view bytes) {
    return bytes.starts_with(std::string_view("\x89PNG\r\n\x1a\n", 8));
}

}  // namespace

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

RecordingToolkit::RecordingToolkit() : loop_(std::make_unique<Loop>()) {}
RecordingToolkit::~RecordingToolkit() = default;

void RecordingToolkit::scriptModalLoop(std::vector<Step> steps) {
    loop_->script = std::move(steps);
}

Application& RecordingToolkit::sharedApplication() {
    log_.add("NSApplication.sharedApplication");
    if (!application_) application_ = std::make_unique<RecordingApplication>(log_);
    return *application_;
}

std::unique_ptr<Alert> RecordingToolkit::newAlert() {
    log_.add("NSAlert.init");
    return std::make_unique<RecordingAlert>(log_, *loop_);
}

std::unique_ptr<Image> RecordingToolkit::newImageWithData(std::string_view bytes) {
    const bool loads = holdsPngImage(bytes);
    log_.add("NSImage.initWithData(" + std::to_string(bytes.size()) + " bytes) -> " +
             (loads ? "image" : "nil"));
    if (!loads) return nullptr;
    return std::make_unique<RecordingImage>(log_);
}

std::unique_ptr<ProgressIndicator> RecordingToolkit::newProgressIndicatorWithFrame(Rect frame) {
    log_.add("NSProgressIndicator.initWithFrame(" + number(frame.x) + ", " + number(frame.y) + ", " +
             number(frame.width) + ", " + number(frame.height) + ")");
    return std::make_unique<RecordingProgressIndicator>(log_);
}

std::unique_ptr<Timer> RecordingToolkit::timerWithTimeInterval(double seconds, bool repeats,
                                                               std::function<void(Timer&)> block) {
    log_.add("NSTimer.timerWithTimeInterval(" + number(seconds) + ", repeats: " + yesNo(repeats) + ")");
    return std::make_unique<RecordingTimer>(log_, *loop_, seconds, repeats, std::move(block));
}

void RecordingToolkit::addTimerToMainRunLoopCommonModes(Timer& timer) {
    auto& recordingTimer = static_cast<RecordingTimer&>(timer);
    log_.add("NSRunLoop.mainRunLoop.addTimer(" + recordingTimer.name() + ", NSRunLoopCommonModes)");
    recordingTimer.schedule();
}

void RecordingToolkit::ignoreSignal(int signalNumber) {
    log_.add("signal(" + signalName(signalNumber) + ", SIG_IGN)");
}

std::unique_ptr<SignalSource> RecordingToolkit::signalSourceOnMainQueue(int signalNumber) {
    log_.add("dispatch_source_create(signal, " + signalName(signalNumber) + ", main queue)");
    return std::make_unique<RecordingSignalSource>(log_, *loop_);
}

}  // namespace tessary::update::recording
