#include "busy_bar.h"

#include <QStyleOptionProgressBar>
#include <QStylePainter>
#include <QTimerEvent>

namespace tessary::update::qt {
namespace {

// The block is a quarter of the bar, so that its motion reads at a glance.
constexpr int blockShare = 4;
// What antialiasing may paint beside the block's rectangle.
constexpr int blockBleed = 2;

}  // namespace

BusyBar::BusyBar(int determinateMaximum) : determinateMaximum_(determinateMaximum) {
    setBusy(true);
}

void BusyBar::setBusy(bool busy) {
    const int maximum = busy ? 0 : determinateMaximum_;
    if (this->maximum() != maximum || minimum() != 0) setRange(0, maximum);
    animateWhileShownAndBusy();
}

// The block stands still while nobody can see it, so a hidden or detached bar
// costs nothing.
void BusyBar::animateWhileShownAndBusy() {
    const bool animate = isBusy() && isVisible();
    if (animate == timer_.isActive()) return;
    if (animate) {
        timer_.start(frameInterval, Qt::CoarseTimer, this);
    } else {
        timer_.stop();
    }
}

void BusyBar::showEvent(QShowEvent* event) {
    QProgressBar::showEvent(event);
    animateWhileShownAndBusy();
}

void BusyBar::hideEvent(QHideEvent* event) {
    QProgressBar::hideEvent(event);
    animateWhileShownAndBusy();
}

void BusyBar::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_.timerId()) {
        QProgressBar::timerEvent(event);
        return;
    }
    const QRect before = blockRect();
    frame_ = (frame_ + 1) % (2 * framesPerSweep);
    // Only the block's old and new places are drawn again.
    update(before.united(blockRect()).adjusted(-blockBleed, -blockBleed, blockBleed, blockBleed));
}

// Where the block stands in this frame: it slides from the left end to the
// right one and back.
QRect BusyBar::blockRect() const {
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_ProgressBarContents, &option, this);
    const int width = contents.width() / blockShare;
    const int travel = contents.width() - width;
    const int step = frame_ <= framesPerSweep ? frame_ : 2 * framesPerSweep - frame_;
    return {contents.left() + travel * step / framesPerSweep, contents.top(), width, contents.height()};
}

void BusyBar::paintEvent(QPaintEvent* event) {
    if (!isBusy()) {
        QProgressBar::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    // The style is never handed a busy bar to draw: it would start its own
    // animation. The groove is the same either way; the block is drawn as a
    // full determinate bar of the block's width.
    option.styleObject = nullptr;
    option.rect = style()->subElementRect(QStyle::SE_ProgressBarGroove, &option, this);
    painter.drawControl(QStyle::CE_ProgressBarGroove, option);
    option.minimum = 0;
    option.maximum = 1;
    option.progress = 1;
    option.rect = blockRect();
    painter.drawControl(QStyle::CE_ProgressBarContents, option);
}

}  // namespace tessary::update::qt
