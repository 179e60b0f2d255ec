#include "signal_source.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include "signal_mask.h"

namespace tessary::update::qt {

SignalFdSource::SignalFdSource(int signalNumber) {
    blockSignal(signalNumber);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signalNumber);
    fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    notifier_->setEnabled(false);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });
}

SignalFdSource::~SignalFdSource() {
    notifier_.reset();
    if (fd_ >= 0) close(fd_);
}

void SignalFdSource::setEventHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
}

void SignalFdSource::resume() {
    if (notifier_) notifier_->setEnabled(true);
}

void SignalFdSource::drain() {
    signalfd_siginfo info;
    bool delivered = false;
    while (read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) delivered = true;
    if (delivered && handler_) handler_();
}

}  // namespace tessary::update::qt
