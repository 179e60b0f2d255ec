#include "alert.h"

#include "ns_string.h"
#include "views.h"

namespace tessary::update::appkit {

static_assert(static_cast<NSAlertStyle>(AlertStyle::warning) == NSAlertStyleWarning);
static_assert(static_cast<NSAlertStyle>(AlertStyle::informational) == NSAlertStyleInformational);
static_assert(static_cast<NSAlertStyle>(AlertStyle::critical) == NSAlertStyleCritical);
static_assert(alertFirstButtonReturn == NSAlertFirstButtonReturn);
static_assert(alertSecondButtonReturn == NSAlertSecondButtonReturn);

void AppKitButton::setTitle(const std::string& title) {
    button_.title = stringFromUtf8(title);
}

void AppKitButton::setKeyEquivalent(const std::string& keyEquivalent) {
    button_.keyEquivalent = stringFromUtf8(keyEquivalent);
}

void AppKitWindow::makeKeyAndOrderFront() {
    [window_ makeKeyAndOrderFront:nil];
}

AppKitAlert::AppKitAlert() : alert_([[NSAlert alloc] init]) {}

void AppKitAlert::setAlertStyle(AlertStyle style) {
    alert_.alertStyle = static_cast<NSAlertStyle>(style);
}

void AppKitAlert::setMessageText(const std::string& text) {
    alert_.messageText = stringFromUtf8(text);
}

void AppKitAlert::setInformativeText(const std::string& text) {
    alert_.informativeText = stringFromUtf8(text);
}

void AppKitAlert::setIcon(Image& icon) {
    // Only images of this toolkit can be shown; there are no others in this program.
    if (auto* image = dynamic_cast<AppKitImage*>(&icon)) alert_.icon = image->nsImage();
}

Button& AppKitAlert::addButtonWithTitle(const std::string& title) {
    NSButton* button = [alert_ addButtonWithTitle:stringFromUtf8(title)];
    buttons_.push_back(std::make_unique<AppKitButton>(button));
    return *buttons_.back();
}

std::size_t AppKitAlert::buttonsCount() const {
    return alert_.buttons.count;
}

void AppKitAlert::setAccessoryView(View* view) {
    alert_.accessoryView = nsViewOf(view);
}

void AppKitAlert::layout() {
    [alert_ layout];
}

ModalResponse AppKitAlert::runModal() {
    return [alert_ runModal];
}

Window& AppKitAlert::window() {
    if (!window_) window_ = std::make_unique<AppKitWindow>(alert_.window);
    return *window_;
}

}  // namespace tessary::update::appkit
