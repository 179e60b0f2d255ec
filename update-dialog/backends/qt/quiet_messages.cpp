#include "quiet_messages.h"

#include <cstdio>
#include <cstdlib>

#include <QString>
#include <QtGlobal>

namespace tessary::update::qt {
namespace {

void onQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) return;
    // Qt would abort next and leave a core dump; a clear line and a failure
    // status tell the host application the same without one.
    std::fprintf(stderr, "Tessary Update: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

void silenceQtMessages() {
    qInstallMessageHandler(onQtMessage);
}

}  // namespace tessary::update::qt
