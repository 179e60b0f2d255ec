#include "quiet_messages.h"

#include <fcntl.h>
#include <unistd.h>

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

StandardErrorSilenced::StandardErrorSilenced() {
    std::fflush(stderr);
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere < 0) return;
    saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (saved_ >= 0) dup2(nowhere, STDERR_FILENO);
    close(nowhere);
}

StandardErrorSilenced::~StandardErrorSilenced() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
}

}  // namespace tessary::update::qt
