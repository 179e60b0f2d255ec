// NSAlert as a Qt dialog laid out like a macOS alert: the icon at the left,
// the bold message above the informative text, the accessory view under them,
// and the buttons at the bottom right, the first one rightmost.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include "core/toolkit.h"
#include "scrolling_label.h"
#include "view.h"
#include "x11_window_hints.h"

class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;

namespace tessary::update::qt {

// What runModal answers when the window is closed or Escape is pressed:
// NSModalResponseCancel, a dismissal that never counts as the first button.
inline constexpr ModalResponse modalResponseCancel = 0;

class QtButton final : public Button {
public:
    explicit QtButton(QPushButton* button) : button_(button) {}
    void setTitle(const std::string& title) override;
    void setKeyEquivalent(const std::string& keyEquivalent) override;

    QPushButton* widget() const { return button_; }
    bool isDefault() const { return button_ && button_->isDefault(); }
    // Whether Return stopped pressing this button since the last call: the
    // button now confirms something Return must not (an install).
    bool tookLostReturnKey() { return std::exchange(lostReturnKey_, false); }

private:
    QPointer<QPushButton> button_;
    bool lostReturnKey_ = false;
};

class QtWindow final : public Window {
public:
    explicit QtWindow(QDialog* dialog) : dialog_(dialog) {}
    void makeKeyAndOrderFront() override;

private:
    QPointer<QDialog> dialog_;
};

class QtAlert final : public Alert {
public:
    explicit QtAlert(bool skipTaskbar);
    ~QtAlert() override;
    QtAlert(const QtAlert&) = delete;
    QtAlert& operator=(const QtAlert&) = delete;

    void setAlertStyle(AlertStyle style) override;
    void setMessageText(const std::string& text) override;
    void setInformativeText(const std::string& text) override;
    void setIcon(Image& icon) override;
    Button& addButtonWithTitle(const std::string& title) override;
    std::size_t buttonsCount() const override { return buttons_.size(); }
    void setAccessoryView(View* view) override;
    void layout() override;
    ModalResponse runModal() override;
    Window& window() override { return window_; }

private:
    void showDefaultIconUnlessSet();
    void detachAccessory();
    // Neither a stray Space nor any other key confirms an install by itself:
    // a button that Return stopped pressing gives up the keyboard focus it
    // had, and the dialog starts with the focus on a button that confirms nothing.
    void keepFocusOffButtonsThatLostReturn();
    void focusSafeButton();
    // Texts reach the labels when the event loop is about to wait, so a text
    // set twice in a row (as a refresh pass may do) is laid out and drawn once.
    void scheduleTexts();
    void applyTexts();
    // Keeps the dialog within the available area of its screen: a long
    // informative text scrolls in what room is left, and a dialog that grew
    // while shown moves up rather than hang over the screen's bottom edge.
    void fitToScreen();
    int availableHeight() const;
    void keepOnScreen();

    std::unique_ptr<QDialog> dialog_;
    QLabel* iconLabel_;
    QLabel* messageLabel_;
    QLabel* informativeLabel_;
    ScrollingLabel informativeArea_;
    QVBoxLayout* textColumn_;
    QHBoxLayout* buttonRow_;
    std::vector<std::unique_ptr<QtButton>> buttons_;
    QtView* accessory_ = nullptr;
    QPointer<QWidget> accessoryWidget_;
    QtWindow window_;
    std::optional<TaskbarExclusion> taskbarExclusion_;
    QString messageText_;
    QString informativeText_;
    QString shownMessageText_;
    bool textsScheduled_ = false;
};

}  // namespace tessary::update::qt
