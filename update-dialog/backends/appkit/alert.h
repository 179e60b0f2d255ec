// NSAlert behind the toolkit's Alert, with its buttons and window.
#pragma once

#import <AppKit/AppKit.h>

#include <memory>
#include <vector>

#include "core/toolkit.h"

namespace tessary::update::appkit {

class AppKitButton final : public Button {
public:
    explicit AppKitButton(NSButton* button) : button_(button) {}
    void setTitle(const std::string& title) override;
    void setKeyEquivalent(const std::string& keyEquivalent) override;
    NSButton* nsButton() const { return button_; }

private:
    NSButton* button_;
};

class AppKitWindow final : public Window {
public:
    explicit AppKitWindow(NSWindow* window) : window_(window) {}
    void makeKeyAndOrderFront() override;
    NSWindow* nsWindow() const { return window_; }

private:
    NSWindow* window_;
};

class AppKitAlert final : public Alert {
public:
    AppKitAlert();

    void setAlertStyle(AlertStyle style) override;
    void setMessageText(const std::string& text) override;
    void setInformativeText(const std::string& text) override;
    void setIcon(Image& icon) override;
    Button& addButtonWithTitle(const std::string& title) override;
    std::size_t buttonsCount() const override;
    void setAccessoryView(View* view) override;
    void layout() override;
    ModalResponse runModal() override;
    Window& window() override;
    NSAlert* nsAlert() const { return alert_; }

private:
    NSAlert* alert_;
    // The wrappers handed out live as long as the alert, as the toolkit promises.
    std::vector<std::unique_ptr<AppKitButton>> buttons_;
    std::unique_ptr<AppKitWindow> window_;
};

}  // namespace tessary::update::appkit
