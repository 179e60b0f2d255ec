// A dispatch signal source on the main queue behind the toolkit's SignalSource.
#pragma once

#include <dispatch/dispatch.h>

#include <functional>

#include "core/toolkit.h"

namespace tessary::update::appkit {

class DispatchSignalSource final : public SignalSource {
public:
    explicit DispatchSignalSource(int signalNumber);
    // Cancels the source, so that its handler never runs after the code it calls is gone.
    ~DispatchSignalSource() override;
    DispatchSignalSource(const DispatchSignalSource&) = delete;
    DispatchSignalSource& operator=(const DispatchSignalSource&) = delete;

    void setEventHandler(std::function<void()> handler) override;
    void resume() override;

private:
    dispatch_source_t source_;  // null when the signal number was refused
    bool resumed_ = false;
};

}  // namespace tessary::update::appkit
