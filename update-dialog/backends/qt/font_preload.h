// Loading fontconfig's configuration (its files, and the cache of every font
// on the machine) is the largest single step before the dialog's first text
// can be measured: a few milliseconds of the start. It needs nothing of Qt, so
// it runs on a thread of its own while Qt connects to the display.
#pragma once

#include <pthread.h>

namespace tessary::update::qt {

class FontConfigurationPreload {
public:
    // Starts loading. The thread takes the signal mask of the thread that
    // makes this (the focus signal blocked).
    FontConfigurationPreload();
    // Waits until it is loaded: Qt's font database then finds it in place.
    ~FontConfigurationPreload();
    FontConfigurationPreload(const FontConfigurationPreload&) = delete;
    FontConfigurationPreload& operator=(const FontConfigurationPreload&) = delete;

private:
    pthread_t thread_{};
    void* stack_ = nullptr;  // while the thread runs
};

}  // namespace tessary::update::qt
