#include "null_toolkit.h"

#include <vector>

namespace tessary::update::null {
namespace {

class NullApplication final : public Application {
public:
    bool setActivationPolicy(ActivationPolicy) override { return true; }
    void activateIgnoringOtherApps(bool) override {}
};

class NullProgressIndicator final : public ProgressIndicator {
public:
    void setHidden(bool) override {}
    void setStyle(ProgressIndicatorStyle) override {}
    void setIndeterminate(bool) override {}
    void startAnimation() override {}
    void setDoubleValue(double) override {}
};

class NullButton final : public Button {
public:
    void setTitle(const std::string&) override {}
    void setKeyEquivalent(const std::string&) override {}
};

class NullWindow final : public Window {
public:
    void makeKeyAndOrderFront() override {}
};

class NullSignalSource final : public SignalSource {
public:
    void setEventHandler(std::function<void()>) override {}
    void resume() override {}
};

class NullAlert final : public Alert {
public:
    explicit NullAlert(std::function<void()> runLoop) : runLoop_(std::move(runLoop)) {}
    void setAlertStyle(AlertStyle) override {}
    void setMessageText(const std::string&) override {}
    void setInformativeText(const std::string&) override {}
    void setIcon(Image&) override {}
    Button& addButtonWithTitle(const std::string&) override {
        buttons_.push_back(std::make_unique<NullButton>());
        return *buttons_.back();
    }
    std::size_t buttonsCount() const override { return buttons_.size(); }
    void setAccessoryView(View*) override {}
    void layout() override {}
    ModalResponse runModal() override {
        runLoop_();
        return alertFirstButtonReturn;
    }
    Window& window() override { return window_; }

private:
    std::function<void()> runLoop_;
    NullWindow window_;
    std::vector<std::unique_ptr<NullButton>> buttons_;
};

}  // namespace

class NullToolkit::NullTimer final : public Timer {
public:
    NullTimer(bool repeats, std::function<void(Timer&)> block)
        : repeats_(repeats), block_(std::move(block)) {}
    void invalidate() override { valid_ = false; }
    void fire() {
        if (valid_) block_(*this);
    }
    bool repeats() const { return repeats_; }

private:
    bool repeats_;
    std::function<void(Timer&)> block_;
    bool valid_ = true;
};

NullToolkit::NullToolkit(ModalLoop modalLoop) : modalLoop_(std::move(modalLoop)) {}
NullToolkit::~NullToolkit() = default;

Application& NullToolkit::sharedApplication() {
    if (!application_) application_ = std::make_unique<NullApplication>();
    return *application_;
}

std::unique_ptr<Alert> NullToolkit::newAlert() {
    return std::make_unique<NullAlert>([this] {
        modalLoop_([this] {
            if (scheduledTimer_) scheduledTimer_->fire();
        });
    });
}

std::unique_ptr<Image> NullToolkit::newImageWithData(std::string_view) {
    return nullptr;
}

std::unique_ptr<ProgressIndicator> NullToolkit::newProgressIndicatorWithFrame(Rect) {
    return std::make_unique<NullProgressIndicator>();
}

std::unique_ptr<Timer> NullToolkit::timerWithTimeInterval(double, bool repeats,
                                                          std::function<void(Timer&)> block) {
    return std::make_unique<NullTimer>(repeats, std::move(block));
}

void NullToolkit::addTimerToMainRunLoopCommonModes(Timer& timer) {
    auto& nullTimer = static_cast<NullTimer&>(timer);
    if (nullTimer.repeats()) scheduledTimer_ = &nullTimer;
}

void NullToolkit::ignoreSignal(int) {}

std::unique_ptr<SignalSource> NullToolkit::signalSourceOnMainQueue(int) {
    return std::make_unique<NullSignalSource>();
}

}  // namespace tessary::update::null
