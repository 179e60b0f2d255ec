// NSApplication on Windows. There is no Dock or menu bar to keep out of: an
// accessory application is one whose alert has a taskbar button, as every
// top-level window has. Activation is the alert window's own (see window_focus.h).
#pragma once

#include "core/toolkit.h"

namespace tessary::update::win32 {

class Win32Application final : public Application {
public:
    bool setActivationPolicy(ActivationPolicy) override { return true; }
    void activateIgnoringOtherApps(bool) override {}
};

}  // namespace tessary::update::win32
