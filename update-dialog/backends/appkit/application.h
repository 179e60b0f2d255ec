// NSApplication behind the toolkit's Application.
#pragma once

#import <AppKit/AppKit.h>

#include "core/toolkit.h"

namespace tessary::update::appkit {

class AppKitApplication final : public Application {
public:
    explicit AppKitApplication(NSApplication* application) : application_(application) {}
    bool setActivationPolicy(ActivationPolicy policy) override;
    void activateIgnoringOtherApps(bool flag) override;

private:
    NSApplication* application_;
};

}  // namespace tessary::update::appkit
