#include "scrolling_label.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include "long_words.h"

namespace tessary::update::qt {
namespace {

// Room between the text and the scroll bar, when there is one.
constexpr int scrollBarGap = 6;

}  // namespace

ScrollingLabel::ScrollingLabel(QLabel* label, int width, QWidget* parent)
    : area_(new QScrollArea(parent)), label_(label), width_(width), maximumHeight_(QWIDGETSIZE_MAX) {
    area_->setFrameShape(QFrame::NoFrame);
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setWidgetResizable(false);
    area_->setWidget(label_);
    // The area's own background and the label's stay the window's, as a bare
    // label's would (setWidget makes the label paint a background of its own).
    label_->setAutoFillBackground(false);
    area_->viewport()->setAutoFillBackground(false);
    // A text that fits is no stop on the way through the dialog with Tab.
    area_->setFocusPolicy(Qt::NoFocus);
    fit();
}

QWidget* ScrollingLabel::widget() const {
    return area_;
}

bool ScrollingLabel::setText(const QString& text) {
    if (hasText_ && text == source_) return false;
    hasText_ = true;
    source_ = text;
    wrappedWidth_ = -1;
    fullHeight_ = wrapFor(width_);
    fit();
    return true;
}

void ScrollingLabel::setMaximumHeight(int height) {
    if (height == maximumHeight_) return;
    maximumHeight_ = height;
    fit();
}

int ScrollingLabel::height() const {
    return scrolling_ ? maximumHeight_ : fullHeight_;
}

int ScrollingLabel::wrapFor(int width) {
    if (wrappedWidth_ != width) {
        label_->setText(withBreaksInLongWords(source_, label_->fontMetrics(), width));
        wrappedWidth_ = width;
        // As a layout measures a label: by its height for the width, or, when
        // it has none (no text), by its size hint.
        wrappedHeight_ = label_->heightForWidth(width);
        if (wrappedHeight_ < 0) wrappedHeight_ = label_->sizeHint().height();
    }
    return wrappedHeight_;
}

void ScrollingLabel::fit() {
    scrolling_ = fullHeight_ > maximumHeight_;
    if (!scrolling_) {
        wrapFor(width_);
        label_->setFixedSize(width_, fullHeight_);
        area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area_->setFocusPolicy(Qt::NoFocus);
        area_->setFixedSize(width_, fullHeight_);
        return;
    }
    // The scroll bar takes its width from the text, so the text wraps narrower
    // and the dialog keeps its width.
    const int barWidth = area_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area_);
    const int textWidth = width_ - barWidth - scrollBarGap;
    label_->setFixedSize(textWidth, wrapFor(textWidth));
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Reachable from the keyboard too: Tab to it, then the arrow and page keys.
    area_->setFocusPolicy(Qt::TabFocus);
    area_->setFixedSize(width_, maximumHeight_);
}

}  // namespace tessary::update::qt
