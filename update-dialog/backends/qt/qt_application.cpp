#include "qt_application.h"

#include <QWidget>

namespace tessary::update::qt {

QtApplication::QtApplication(int& argc, char** argv)
    : application_(std::make_unique<QApplication>(argc, argv)) {
    QApplication::setApplicationName(QStringLiteral("Tessary Update"));
    QApplication::setDesktopFileName(QStringLiteral("tessary-update"));
}

QtApplication::~QtApplication() = default;

bool QtApplication::setActivationPolicy(ActivationPolicy policy) {
    policy_ = policy;
    return true;
}

// Qt activates windows one by one: bring up the modal dialog if one is shown.
// The window's own makeKeyAndOrderFront does the rest.
void QtApplication::activateIgnoringOtherApps(bool) {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
        modal->raise();
        modal->activateWindow();
    }
}

}  // namespace tessary::update::qt
