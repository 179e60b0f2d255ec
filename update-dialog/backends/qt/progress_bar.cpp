#include "progress_bar.h"

#include <algorithm>
#include <cmath>

namespace tessary::update::qt {
namespace {

// The bar counts in tenths of a percent so that fractions such as 42.5 show.
constexpr int stepsPerPercent = 10;
constexpr int determinateMaximum = 100 * stepsPerPercent;

}  // namespace

QtProgressIndicator::QtProgressIndicator(Rect frame) : bar_(new BusyBar(determinateMaximum)) {
    bar_->setTextVisible(false);
    // A screen reader reads the bar's value; the name says what it measures.
    bar_->setAccessibleName(QStringLiteral("Update progress"));
    bar_->setFixedSize(static_cast<int>(std::lround(frame.width)),
                       static_cast<int>(std::lround(frame.height)));
    bar_->hide();
    applyMode();
}

QtProgressIndicator::~QtProgressIndicator() {
    // Deleting the widget also takes it out of an alert that still shows it.
    delete bar_.data();
}

void QtProgressIndicator::setHidden(bool hidden) {
    hidden_ = hidden;
    applyVisibility();
}

void QtProgressIndicator::setStyle(ProgressIndicatorStyle) {
    // Only the bar style is used; a QProgressBar is always a bar.
}

void QtProgressIndicator::setIndeterminate(bool indeterminate) {
    indeterminate_ = indeterminate;
    applyMode();
}

void QtProgressIndicator::startAnimation() {
    animating_ = true;
    applyMode();
}

void QtProgressIndicator::setDoubleValue(double value) {
    value_ = value;
    applyMode();
}

// An indeterminate, animating bar is a busy bar. Anything else keeps a real
// range, so no animation runs when none is asked for. The same values are
// applied up to four times a second: only changes reach Qt.
void QtProgressIndicator::applyMode() {
    if (!bar_) return;
    const bool busy = indeterminate_ && animating_;
    bar_->setBusy(busy);
    if (busy) return;
    // NaN and negatives show as empty, anything from 100 up as full.
    const double percent = indeterminate_ || !(value_ >= 0) ? 0.0 : std::min(value_, 100.0);
    const int steps = static_cast<int>(std::lround(percent * stepsPerPercent));
    if (bar_->value() != steps) bar_->setValue(steps);
}

// A bar that no alert holds stays hidden whatever it was told: it must never
// appear as a window of its own.
void QtProgressIndicator::applyVisibility() {
    if (!bar_) return;
    const bool visible = !hidden_ && bar_->parentWidget() != nullptr;
    if (bar_->isHidden() == visible) bar_->setVisible(visible);
}

}  // namespace tessary::update::qt
