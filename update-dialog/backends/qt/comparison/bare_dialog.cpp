// The yardstick for Tessary Update's costs: a bare Qt dialog of the same size
// and contents (icon, two texts, a determinate 280 by 14 bar, one button),
// with no signal handling. Given a file, it also reads and parses it four
// times a second, the least any dialog that polls a status file must do.
//
//   bare-dialog [file to poll]
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

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare dialog"));

    auto* icon = new QLabel(&dialog);
    icon->setFixedSize(64, 64);
    icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(64, 64));

    auto* message = new QLabel(QStringLiteral("Downloading Tessary 1.5.0…"), &dialog);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    message->setFixedWidth(300);
    auto* informative = new QLabel(QStringLiteral("19.3 MB of 48.3 MB"), &dialog);
    informative->setFixedWidth(300);
    informative->setWordWrap(true);

    auto* bar = new QProgressBar(&dialog);
    bar->setTextVisible(false);
    bar->setFixedSize(280, 14);
    bar->setRange(0, 1000);
    bar->setValue(400);

    auto* column = new QVBoxLayout;
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
    buttons->addStretch();
    buttons->addWidget(close);

    auto* outer = new QVBoxLayout(&dialog);
    outer->setContentsMargins(20, 20, 20, 20);
    outer->setSpacing(20);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->addLayout(body);
    outer->addLayout(buttons);

    QTimer poll;
    QString lastState;
    if (argc > 1) {
        const QString path = QString::fromLocal8Bit(argv[1]);
        QObject::connect(&poll, &QTimer::timeout, [&path, &lastState] {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) return;
            lastState = QJsonDocument::fromJson(file.readAll())[QStringLiteral("state")].toString();
        });
        poll.start(250);
    }

    return dialog.exec() == QDialog::Accepted ? 0 : 1;
}
