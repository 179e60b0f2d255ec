// The yardstick for Tessary Update's costs: a bare Qt dialog of the same
// contents (a 64-pixel information icon, a bold headline, a detail text, a 280
// by 14 bar, one button) laid out alike, with no signal handling, no screen
// reader descriptions and no window hints. Given a file, it reads and parses it
// once before it shows and then four times a second, the least any dialog that
// shows a status file must do.
//
//   bare-dialog [--busy] [file to poll]
//
// By default it shows a download at 40 %; with --busy, "Checking for updates…"
// and Qt's own busy bar.
#include <cstring>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString readState(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(file.readAll())[QStringLiteral("state")].toString();
}

QLabel* newTextLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFixedWidth(300);
    return label;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    int next = 1;
    const bool busy = next < argc && std::strcmp(argv[next], "--busy") == 0;
    if (busy) ++next;
    const QString path = next < argc ? QString::fromLocal8Bit(argv[next]) : QString();
    QString lastState = path.isEmpty() ? QString() : readState(path);

    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare dialog"));

    auto* icon = new QLabel(&dialog);
    icon->setFixedSize(64, 64);
    icon->setAlignment(Qt::AlignCenter);
    icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(64, 64));

    auto* message = newTextLabel(
        busy ? QStringLiteral("Checking for updates…") : QStringLiteral("Downloading Tessary 1.5.0…"),
        &dialog);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    auto* informative =
        newTextLabel(busy ? QStringLiteral("Tessary 1.4.2") : QStringLiteral("19.3 MB of 48.3 MB"), &dialog);

    auto* bar = new QProgressBar(&dialog);
    bar->setTextVisible(false);
    bar->setFixedSize(280, 14);
    bar->setRange(0, busy ? 0 : 1000);
    bar->setValue(busy ? 0 : 400);

    auto* column = new QVBoxLayout;
    column->setSpacing(6);
    column->addWidget(message);
    column->addWidget(informative);
    column->addWidget(bar, 0, Qt::AlignLeft);
    column->addStretch();
    auto* body = new QHBoxLayout;
    body->setSpacing(20);
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addLayout(column);

    auto* close = new QPushButton(QStringLiteral("Close"), &dialog);
    close->setAutoDefault(false);
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* outer = new QVBoxLayout(&dialog);
    outer->setContentsMargins(20, 20, 20, 20);
    outer->setSpacing(20);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->addLayout(body);
    outer->addLayout(buttons);

    QTimer poll;
    if (!path.isEmpty()) {
        QObject::connect(&poll, &QTimer::timeout, [&path, &lastState] { lastState = readState(path); });
        poll.start(250);
    }

    return dialog.exec() == QDialog::Accepted ? 0 : 1;
}
