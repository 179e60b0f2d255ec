// NSProgressIndicator as a progress bar of a fixed size.
#pragma once

#include <QPointer>

#include "busy_bar.h"
#include "view.h"

namespace tessary::update::qt {

class QtProgressIndicator final : public QtView, public ProgressIndicator {
public:
    explicit QtProgressIndicator(Rect frame);
    ~QtProgressIndicator() override;
    QtProgressIndicator(const QtProgressIndicator&) = delete;
    QtProgressIndicator& operator=(const QtProgressIndicator&) = delete;

    void setHidden(bool hidden) override;
    void setStyle(ProgressIndicatorStyle style) override;
    void setIndeterminate(bool indeterminate) override;
    void startAnimation() override;
    void setDoubleValue(double value) override;

    QWidget* widget() override { return bar_; }
    void attachmentChanged() override { applyVisibility(); }

private:
    void applyMode();
    void applyVisibility();

    QPointer<BusyBar> bar_;
    bool hidden_ = false;
    bool indeterminate_ = true;
    bool animating_ = false;
    double value_ = 0;
};

}  // namespace tessary::update::qt
