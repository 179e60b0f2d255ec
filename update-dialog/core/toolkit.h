// The alert toolkit as the update dialog sees it: every platform operation the
// dialog performs, one member each, named after the AppKit / Foundation /
// Dispatch selector it stands for. A backend (AppKit, Qt, recording) supplies
// all of them; the dialog's own code talks to the platform through nothing else.
//
// Values are plain C++: texts are UTF-8 std::string, styles are enums with the
// platform's raw numbers, a modal response is a signed 64-bit integer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tessary::update {

// NSAlertStyle
enum class AlertStyle : std::uint64_t { warning = 0, informational = 1, critical = 2 };

// NSProgressIndicatorStyle
enum class ProgressIndicatorStyle : std::uint64_t { bar = 0, spinning = 1 };

// NSApplicationActivationPolicy
enum class ActivationPolicy : std::int64_t { regular = 0, accessory = 1, prohibited = 2 };

// NSModalResponse: the first button of an alert answers 1000, the second 1001, ...
using ModalResponse = std::int64_t;
inline constexpr ModalResponse alertFirstButtonReturn = 1000;
inline constexpr ModalResponse alertSecondButtonReturn = 1001;

// NSRect
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// NSImage
class Image {
public:
    virtual ~Image() = default;
};

// NSView
class View {
public:
    virtual ~View() = default;
    virtual void setHidden(bool hidden) = 0;  // setHidden:
};

// NSProgressIndicator (range 0 to 100, never changed)
class ProgressIndicator : public View {
public:
    virtual void setStyle(ProgressIndicatorStyle style) = 0;  // setStyle:
    virtual void setIndeterminate(bool indeterminate) = 0;    // setIndeterminate:
    virtual void startAnimation() = 0;                        // startAnimation: nil
    virtual void setDoubleValue(double value) = 0;            // setDoubleValue:
};

// NSButton
class Button {
public:
    virtual ~Button() = default;
    virtual void setTitle(const std::string& title) = 0;                  // setTitle:
    virtual void setKeyEquivalent(const std::string& keyEquivalent) = 0;  // setKeyEquivalent: ("\r" or "")
};

// NSWindow
class Window {
public:
    virtual ~Window() = default;
    virtual void makeKeyAndOrderFront() = 0;  // makeKeyAndOrderFront: nil
};

// NSAlert. Buttons, the window and the accessory view stay valid while the alert lives.
class Alert {
public:
    virtual ~Alert() = default;
    virtual void setAlertStyle(AlertStyle style) = 0;              // setAlertStyle:
    virtual void setMessageText(const std::string& text) = 0;      // setMessageText:
    virtual void setInformativeText(const std::string& text) = 0;  // setInformativeText:
    // setIcon: the alert may draw the image for as long as it lives, so the
    // caller keeps the image alive as long as the alert.
    virtual void setIcon(Image& icon) = 0;
    virtual Button& addButtonWithTitle(const std::string& title) = 0;  // addButtonWithTitle:
    virtual std::size_t buttonsCount() const = 0;                      // buttons.count
    virtual void setAccessoryView(View* view) = 0;                     // setAccessoryView: (nullptr is nil)
    virtual void layout() = 0;                                         // layout
    virtual ModalResponse runModal() = 0;                              // runModal
    virtual Window& window() = 0;                                      // window
};

// NSApplication
class Application {
public:
    virtual ~Application() = default;
    virtual bool setActivationPolicy(ActivationPolicy policy) = 0;  // setActivationPolicy:
    virtual void activateIgnoringOtherApps(bool flag) = 0;          // activateIgnoringOtherApps:
};

// NSTimer
class Timer {
public:
    virtual ~Timer() = default;
    virtual void invalidate() = 0;  // invalidate
};

// A dispatch signal source (DISPATCH_SOURCE_TYPE_SIGNAL).
class SignalSource {
public:
    virtual ~SignalSource() = default;
    // dispatch_source_set_event_handler: default quality of service, no flags.
    virtual void setEventHandler(std::function<void()> handler) = 0;
    virtual void resume() = 0;  // dispatch_resume
};

// The factory and free-standing operations of the platform.
class Toolkit {
public:
    virtual ~Toolkit() = default;

    // NSApplication sharedApplication. Called once; a backend may create its
    // application object here, so nothing of the toolkit exists before it.
    virtual Application& sharedApplication() = 0;

    // [[NSAlert alloc] init]: an alert without buttons.
    virtual std::unique_ptr<Alert> newAlert() = 0;

    // [[NSImage alloc] initWithData:]: an image decoded from the bytes of an
    // image file, or nullptr when they hold no image. Decoding writes nothing
    // to standard output or standard error.
    virtual std::unique_ptr<Image> newImageWithData(std::string_view bytes) = 0;

    // [[NSProgressIndicator alloc] initWithFrame:]
    virtual std::unique_ptr<ProgressIndicator> newProgressIndicatorWithFrame(Rect frame) = 0;

    // NSTimer timerWithTimeInterval:repeats:block: — not yet scheduled.
    virtual std::unique_ptr<Timer> timerWithTimeInterval(double seconds, bool repeats,
                                                         std::function<void(Timer&)> block) = 0;

    // [NSRunLoop mainRunLoop] addTimer:forMode: NSRunLoopCommonModes — the timer
    // fires on the main thread, also inside runModal.
    virtual void addTimerToMainRunLoopCommonModes(Timer& timer) = 0;

    // signal(signalNumber, SIG_IGN): the signal no longer terminates the process.
    virtual void ignoreSignal(int signalNumber) = 0;

    // dispatch_source_create(DISPATCH_SOURCE_TYPE_SIGNAL, signalNumber, 0,
    // dispatch_get_main_queue()): deliveries are reported on the main thread,
    // also inside runModal, once the source is resumed.
    virtual std::unique_ptr<SignalSource> signalSourceOnMainQueue(int signalNumber) = 0;
};

}  // namespace tessary::update
