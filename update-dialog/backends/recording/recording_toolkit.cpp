#include "recording_toolkit.h"

#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

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

std::string signalName(int signalNumber) {
    return signalNumber == SIGUSR1 ? "SIGUSR1" : std::to_string(signalNumber);
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

class RecordingImage final : public Image {};

class RecordingProgressIndicator final : public ProgressIndicator {
public:
    explicit RecordingProgressIndicator(CallLog& log) : log_(log) {}
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

struct RecordingToolkit::Loop {
    std::vector<Step> script;
    RecordingTimer* scheduledTimer = nullptr;
    std::vector<RecordingSignalSource*> sources;
};

class RecordingTimer final : public Timer {
public:
    RecordingTimer(CallLog& log, RecordingToolkit::Loop& loop, std::function<void(Timer&)> block)
        : log_(log), loop_(loop), block_(std::move(block)) {}
    ~RecordingTimer() override {
        if (loop_.scheduledTimer == this) loop_.scheduledTimer = nullptr;
    }
    void invalidate() override {
        log_.add("timer.invalidate");
        if (loop_.scheduledTimer == this) loop_.scheduledTimer = nullptr;
    }
    void fire() { block_(*this); }

private:
    CallLog& log_;
    RecordingToolkit::Loop& loop_;
    std::function<void(Timer&)> block_;
};

class RecordingSignalSource final : public SignalSource {
public:
    RecordingSignalSource(CallLog& log, RecordingToolkit::Loop& loop) : log_(log), loop_(loop) {
        loop_.sources.push_back(this);
    }
    ~RecordingSignalSource() override { std::erase(loop_.sources, this); }
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
            if (loop_.scheduledTimer) loop_.scheduledTimer->fire();
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

bool holdsPngImage(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char signature[8] = {};
    return file.read(signature, sizeof signature) && std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8) == 0;
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

std::unique_ptr<Image> RecordingToolkit::newImageWithContentsOfFile(const std::string& path) {
    const bool loads = holdsPngImage(path);
    log_.add("NSImage.initWithContentsOfFile(" + quoted(path) + ") -> " + (loads ? "image" : "nil"));
    if (!loads) return nullptr;
    return std::make_unique<RecordingImage>();
}

std::unique_ptr<ProgressIndicator> RecordingToolkit::newProgressIndicatorWithFrame(Rect frame) {
    log_.add("NSProgressIndicator.initWithFrame(" + number(frame.x) + ", " + number(frame.y) + ", " +
             number(frame.width) + ", " + number(frame.height) + ")");
    return std::make_unique<RecordingProgressIndicator>(log_);
}

std::unique_ptr<Timer> RecordingToolkit::timerWithTimeInterval(double seconds, bool repeats,
                                                               std::function<void(Timer&)> block) {
    log_.add("NSTimer.timerWithTimeInterval(" + number(seconds) + ", repeats: " + yesNo(repeats) + ")");
    return std::make_unique<RecordingTimer>(log_, *loop_, std::move(block));
}

void RecordingToolkit::addTimerToMainRunLoopCommonModes(Timer& timer) {
    log_.add("NSRunLoop.mainRunLoop.addTimer(timer, NSRunLoopCommonModes)");
    loop_->scheduledTimer = static_cast<RecordingTimer*>(&timer);
}

void RecordingToolkit::ignoreSignal(int signalNumber) {
    log_.add("signal(" + signalName(signalNumber) + ", SIG_IGN)");
}

std::unique_ptr<SignalSource> RecordingToolkit::signalSourceOnMainQueue(int signalNumber) {
    log_.add("dispatch_source_create(signal, " + signalName(signalNumber) + ", main queue)");
    return std::make_unique<RecordingSignalSource>(log_, *loop_);
}

}  // namespace tessary::update::recording
