// The progress bar's widget. A determinate bar is Qt's own; a busy bar draws
// a block that slides to and fro at 12.5 frames a second instead of the
// style's animation, which draws its striped bar anew tens of times a second
// and costs about eight times as much CPU for as long as the dialog shows it
// (seconds to minutes while an update is checked, verified, extracted or
// installed).
#pragma once

#include <QBasicTimer>
#include <QProgressBar>

namespace tessary::update::qt {

class BusyBar final : public QProgressBar {
public:
    // How often a busy bar moves its block, and how far the block travels.
    static constexpr int frameInterval = 80;   // milliseconds
    static constexpr int framesPerSweep = 20;  // from one end to the other

    // Busy at first; a determinate bar counts from 0 to `determinateMaximum`.
    explicit BusyBar(int determinateMaximum);

    // A busy bar has an empty range, as Qt's own busy bar has: a screen reader
    // reads it the same way.
    void setBusy(bool busy);
    bool isBusy() const { return minimum() == maximum(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void animateWhileShownAndBusy();
    QRect blockRect() const;

    int determinateMaximum_;
    QBasicTimer timer_;
    int frame_ = 0;
};

}  // namespace tessary::update::qt
