#include "alert_dialog.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "accessible_names.h"
#include "image.h"
#include "long_words.h"
#include "wayland_activation.h"

namespace tessary::update::qt {
namespace {

constexpr int iconSize = 64;
constexpr int textColumnWidth = 300;
constexpr int margin = 20;
constexpr int spacing = 12;
// The informative text grows up to this many lines before it scrolls: a few
// sentences or a short stack trace are shown whole.
constexpr int informativeLinesShown = 20;
// It always keeps room for a few lines, however small the screen.
constexpr int informativeLinesAtLeast = 3;
// Room kept for the window manager's frame (title bar, borders) while the
// window has none yet.
constexpr int frameAllowance = 40;

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* newTextLabel(QWidget* parent, bool bold) {
    auto* label = new QLabel(parent);
    // Texts come from the status file: never read them as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFixedWidth(textColumnWidth);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

// Sets a label's text only when it changed, so an unchanged pass measures and
// draws nothing. `shownSource` remembers the text the label shows now.
bool showText(QLabel& label, const QString& text, QString& shownSource) {
    if (text == shownSource && !label.text().isNull()) return false;
    shownSource = text;
    label.setText(withBreaksInLongWords(text, label.fontMetrics(), textColumnWidth));
    return true;
}

QPixmap iconPixmap(const QImage& image) {
    return QPixmap::fromImage(
        image.scaled(iconSize, iconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

}  // namespace

void QtButton::setTitle(const std::string& title) {
    if (!button_) return;
    // '&' marks a shortcut letter in Qt; titles such as "Install & Relaunch" mean it literally.
    QString text = fromUtf8(title);
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    if (button_->text() != text) button_->setText(text);
}

// Only the carriage return is a key equivalent the dialog uses: that button
// becomes the default one, which Return presses. Any other button never is.
void QtButton::setKeyEquivalent(const std::string& keyEquivalent) {
    if (!button_) return;
    const bool isDefault = keyEquivalent == "\r";
    if (button_->isDefault() == isDefault) return;
    if (!isDefault) lostReturnKey_ = true;
    button_->setDefault(isDefault);
}

void QtWindow::makeKeyAndOrderFront() {
    if (!dialog_ || !dialog_->isVisible()) return;
    if (dialog_->isMinimized()) dialog_->setWindowState(dialog_->windowState() & ~Qt::WindowMinimized);
    dialog_->raise();
    // Qt's own activation carries the time of the last event it saw, which an
    // X server or window manager may take as too old to move the focus.
    // A Wayland compositor activates only with a fresh token asked for each time.
    if (!activateOnX11(*dialog_) && !activateOnWayland(*dialog_)) dialog_->activateWindow();
}

QtAlert::QtAlert(bool skipTaskbar)
    : dialog_(std::make_unique<QDialog>()),
      iconLabel_(new QLabel(dialog_.get())),
      messageLabel_(newTextLabel(dialog_.get(), true)),
      informativeLabel_(newTextLabel(dialog_.get(), false)),
      informativeArea_(informativeLabel_, textColumnWidth, dialog_.get()),
      textColumn_(new QVBoxLayout),
      buttonRow_(new QHBoxLayout),
      window_(dialog_.get()) {
    dialog_->setWindowTitle(QStringLiteral("Tessary Update"));
    dialog_->setWindowModality(Qt::ApplicationModal);

    // The default icon is looked up only when the dialog has none of the
    // host's (see addButtonWithTitle): the lookup searches the icon themes.
    iconLabel_->setFixedSize(iconSize, iconSize);
    iconLabel_->setAlignment(Qt::AlignCenter);

    textColumn_->setSpacing(spacing / 2);
    textColumn_->addWidget(messageLabel_);
    textColumn_->addWidget(informativeArea_.widget());
    textColumn_->addStretch();

    auto* body = new QHBoxLayout;
    body->setSpacing(margin);
    body->addWidget(iconLabel_, 0, Qt::AlignTop);
    body->addLayout(textColumn_);

    buttonRow_->setSpacing(spacing);
    buttonRow_->addStretch();

    auto* outer = new QVBoxLayout(dialog_.get());
    outer->setContentsMargins(margin, margin, margin, margin);
    outer->setSpacing(margin);
    // The dialog takes exactly the size its contents ask for, growing and
    // shrinking with the bar and the buttons.
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->addLayout(body);
    outer->addLayout(buttonRow_);

    if (skipTaskbar) taskbarExclusion_.emplace();
    describeForScreenReaders(*iconLabel_, *messageLabel_, *informativeLabel_);

    // The event loop is about to wait: whatever the last timer tick or signal
    // changed is now complete. Tied to the dialog, so it ends with the alert.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     dialog_.get(), [this] { applyTexts(); });
}

QtAlert::~QtAlert() {
    // The accessory belongs to its own owner: hand it back before the dialog
    // and its children go.
    detachAccessory();
}

void QtAlert::setAlertStyle(AlertStyle) {
    // The informational and warning styles look alike, as in AppKit; the
    // critical style is never used.
}

void QtAlert::setMessageText(const std::string& text) {
    messageText_ = fromUtf8(text);
    scheduleTexts();
}

void QtAlert::setInformativeText(const std::string& text) {
    informativeText_ = fromUtf8(text);
    scheduleTexts();
}

void QtAlert::scheduleTexts() {
    textsScheduled_ = true;
}

void QtAlert::applyTexts() {
    keepFocusOffButtonsThatLostReturn();
    if (!textsScheduled_) return;
    textsScheduled_ = false;
    const bool messageChanged = showText(*messageLabel_, messageText_, shownMessageText_);
    const bool informativeChanged = informativeArea_.setText(informativeText_);
    if (messageChanged || informativeChanged) fitToScreen();
}

void QtAlert::fitToScreen() {
    const int heightBefore = dialog_->height();
    const int lineSpacing = informativeLabel_->fontMetrics().lineSpacing();
    informativeArea_.setMaximumHeight(informativeLinesShown * lineSpacing);
    QLayout& outer = *dialog_->layout();
    outer.invalidate();
    outer.activate();  // the dialog now has the size its contents ask for
    const int overflow = dialog_->height() - availableHeight();
    if (overflow > 0) {
        informativeArea_.setMaximumHeight(
            std::max(informativeLinesAtLeast * lineSpacing, informativeArea_.height() - overflow));
        outer.invalidate();
        outer.activate();
    }
    if (dialog_->height() > heightBefore) keepOnScreen();
}

// The height of the screen's available area (without panels and docks) less
// the window's frame.
int QtAlert::availableHeight() const {
    const QScreen* screen = dialog_->screen();
    if (!screen) return QWIDGETSIZE_MAX;
    const int frame = dialog_->frameGeometry().height() - dialog_->height();
    return screen->availableGeometry().height() - std::max(frame, frameAllowance);
}

// Qt centres the dialog within the available area when it shows it; once
// shown, a dialog that grows does so downwards, so move it up when it would
// reach below the area.
void QtAlert::keepOnScreen() {
    const QScreen* screen = dialog_->screen();
    if (!dialog_->isVisible() || !screen) return;
    const QRect area = screen->availableGeometry();
    const QRect window = dialog_->geometry();
    const QRect frame = dialog_->frameGeometry();  // with the window manager's title bar and borders
    if (frame.bottom() <= area.bottom()) return;
    // Asked to put a window somewhere, some window managers put the window
    // there and others its frame, title bar first: pick the place at which the
    // whole frame lies within the area either way.
    const int titleBar = window.top() - frame.top();
    const int top = std::max(area.bottom() + 1 - frame.height(), area.top() + titleBar);
    dialog_->setGeometry(window.left(), top, window.width(), window.height());
}

void QtAlert::setIcon(Image& icon) {
    if (auto* image = dynamic_cast<QtImage*>(&icon); image && !image->image().isNull())
        iconLabel_->setPixmap(iconPixmap(image->image()));
}

// The platform's information sign, as the icon theme or else the style has it.
void QtAlert::showDefaultIconUnlessSet() {
    if (!iconLabel_->pixmap().isNull()) return;
    iconLabel_->setPixmap(
        dialog_->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(iconSize, iconSize));
}

// Each button ends the modal loop with its own response: 1000 for the first,
// 1001 for the second, and so on. Later buttons stand left of earlier ones.
Button& QtAlert::addButtonWithTitle(const std::string& title) {
    const auto response =
        static_cast<int>(alertFirstButtonReturn + static_cast<ModalResponse>(buttons_.size()));
    auto* pushButton = new QPushButton(dialog_.get());
    // Qt would otherwise let Return press whichever button has the focus.
    pushButton->setAutoDefault(false);
    pushButton->setDefault(false);
    QObject::connect(pushButton, &QPushButton::clicked, dialog_.get(),
                     [dialog = dialog_.get(), response] { dialog->done(response); });
    buttonRow_->insertWidget(1, pushButton);
    // A text long enough to scroll comes after the buttons with Tab, so the
    // dialog still starts with its first button focused.
    QWidget::setTabOrder(pushButton, informativeArea_.widget());
    auto& button = *buttons_.emplace_back(std::make_unique<QtButton>(pushButton));
    button.setTitle(title);
    // As in NSAlert, the first button starts with Return as its key equivalent.
    if (buttons_.size() == 1) button.setKeyEquivalent("\r");
    // The host's icon, if any, is in place by now: the run sequence sets it
    // before it adds buttons (a later one still replaces the default).
    if (buttons_.size() == 1) showDefaultIconUnlessSet();
    return button;
}

void QtAlert::setAccessoryView(View* view) {
    auto* qtView = dynamic_cast<QtView*>(view);
    QWidget* widget = qtView ? qtView->widget() : nullptr;
    if (widget && widget == accessoryWidget_) return;
    detachAccessory();
    if (!widget) return;
    accessory_ = qtView;
    accessoryWidget_ = widget;
    // Under the informative text, before the stretch that keeps texts at the top.
    textColumn_->insertWidget(2, widget, 0, Qt::AlignLeft);
    qtView->attachmentChanged();
}

void QtAlert::detachAccessory() {
    if (!accessoryWidget_) {
        accessory_ = nullptr;
        return;
    }
    textColumn_->removeWidget(accessoryWidget_);
    accessoryWidget_->hide();
    accessoryWidget_->setParent(nullptr);
    accessory_->attachmentChanged();
    accessory_ = nullptr;
    accessoryWidget_ = nullptr;
}

void QtAlert::layout() {
    applyTexts();
    fitToScreen();
}

// Runs once a refresh pass is complete (the "Later" of an offer is added
// after the first button is retitled). Only a change moves the focus: a user
// who went to "Install & Relaunch" with Tab keeps it there.
void QtAlert::keepFocusOffButtonsThatLostReturn() {
    for (const auto& button : buttons_) {
        if (button->tookLostReturnKey() && button->widget() && button->widget()->hasFocus())
            focusSafeButton();
    }
}

// The button Return presses, or else the latest added one that is not the
// first (the first is the one that confirms); with neither, no button at all.
void QtAlert::focusSafeButton() {
    QPushButton* safe = nullptr;
    for (const auto& button : buttons_) {
        if (button->isDefault()) safe = button->widget();
    }
    if (!safe && buttons_.size() > 1) safe = buttons_.back()->widget();
    if (safe) {
        safe->setFocus(Qt::OtherFocusReason);
    } else if (QWidget* focused = dialog_->focusWidget()) {
        focused->clearFocus();
    }
}

ModalResponse QtAlert::runModal() {
    showDefaultIconUnlessSet();
    layout();
    focusSafeButton();
    // The native window is made here, at the size the layout gave it, as
    // showing it would make it.
    if (taskbarExclusion_) taskbarExclusion_->applyTo(*dialog_);
    return dialog_->exec();
}

}  // namespace tessary::update::qt
