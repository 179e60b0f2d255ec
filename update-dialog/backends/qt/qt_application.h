// NSApplication on Qt: owns the QApplication of the process.
#pragma once

#include <memory>

#include <QApplication>

#include "core/toolkit.h"

namespace tessary::update::qt {

class QtApplication final : public Application {
public:
    QtApplication(int& argc, char** argv);
    ~QtApplication() override;

    bool setActivationPolicy(ActivationPolicy policy) override;
    void activateIgnoringOtherApps(bool flag) override;

    // Windows made from now on stay out of the taskbar (the accessory policy).
    bool skipsTaskbar() const { return policy_ != ActivationPolicy::regular; }

private:
    std::unique_ptr<QApplication> application_;
    ActivationPolicy policy_ = ActivationPolicy::regular;
};

}  // namespace tessary::update::qt
