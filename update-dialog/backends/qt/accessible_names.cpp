#include "accessible_names.h"

#include <QLabel>

namespace tessary::update::qt {

void describeForScreenReaders(QLabel& icon, QLabel& headline, QLabel& detail) {
    // The icon is the application's own (or the platform's information sign).
    icon.setAccessibleName(QStringLiteral("Tessary"));
    icon.setAccessibleDescription(QStringLiteral("Application icon"));
    headline.setAccessibleDescription(QStringLiteral("Update status"));
    detail.setAccessibleDescription(QStringLiteral("Details"));
}

}  // namespace tessary::update::qt
