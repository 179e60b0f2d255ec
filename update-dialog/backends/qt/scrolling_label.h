// A plain text wrapped to a fixed width that takes just the height it needs,
// up to a limit; a taller text scrolls inside that height instead of pushing
// the rest of its window (the buttons) off the screen. Below the limit it looks
// and measures exactly like a bare word-wrapped label.
#pragma once

#include <QString>

class QLabel;
class QScrollArea;
class QWidget;

namespace tessary::update::qt {

class ScrollingLabel {
public:
    // Shows `label` (a word-wrapped plain-text label) in a scroll area of
    // `width` pixels, made a child of `parent`, which owns both.
    ScrollingLabel(QLabel* label, int width, QWidget* parent);

    // What to put into a layout.
    QWidget* widget() const;

    // Shows `text`; returns false, having done nothing, when it is shown already.
    bool setText(const QString& text);

    // The most height the text may take; a taller one scrolls.
    void setMaximumHeight(int height);

    // The height the text takes in full, scrolling or not.
    int fullHeight() const { return fullHeight_; }

    // The height it takes now (at most the maximum).
    int height() const;

    bool isScrolling() const { return scrolling_; }

private:
    void fit();
    // Wraps the text for `width` and returns the height it then takes.
    int wrapFor(int width);

    QScrollArea* area_;
    QLabel* label_;
    int width_;
    int maximumHeight_;
    QString source_;
    bool hasText_ = false;
    int wrappedWidth_ = -1;
    int fullHeight_ = 0;
    int wrappedHeight_ = 0;
    bool scrolling_ = false;
};

}  // namespace tessary::update::qt
