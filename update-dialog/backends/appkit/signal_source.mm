#include "signal_source.h"

namespace tessary::update::appkit {

DispatchSignalSource::DispatchSignalSource(int signalNumber)
    : source_(dispatch_source_create(DISPATCH_SOURCE_TYPE_SIGNAL, static_cast<uintptr_t>(signalNumber), 0,
                                     dispatch_get_main_queue())) {}

DispatchSignalSource::~DispatchSignalSource() {
    if (!source_) return;
    dispatch_source_cancel(source_);
    // Releasing a source that was never resumed is a fault in libdispatch.
    if (!resumed_) dispatch_resume(source_);
}

void DispatchSignalSource::setEventHandler(std::function<void()> handler) {
    if (!source_) return;
    // A plain block: the default quality of service and no flags.
    dispatch_source_set_event_handler(source_, ^{
      handler();
    });
}

void DispatchSignalSource::resume() {
    if (!source_ || resumed_) return;
    resumed_ = true;
    dispatch_resume(source_);
}

}  // namespace tessary::update::appkit
