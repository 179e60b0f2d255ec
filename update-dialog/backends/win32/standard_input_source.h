// The focus signal's Windows form. Windows has no signals to send a process,
// and Node.js can only end one there; so the host writes the focus request to
// the dialog's standard input instead, as a line "focus". When standard input
// is a pipe, a thread of its own reads it and hands each request to the main
// thread, where the handler runs (several requests that arrive before it runs
// run it once). End of input means that the host has gone: the dialog then
// ends as if "Close" had been pressed. Standard input that is no pipe (the NUL
// device, a file, a console, none) is never read and never ends the dialog.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "core/toolkit.h"
#include "run_loop.h"

namespace tessary::update::win32 {

class StandardInputSource final : public SignalSource {
public:
    // `input` is read once the source is resumed (the process's standard input,
    // or a test's pipe); `endOfInput` runs on the main thread when it ends.
    StandardInputSource(RunLoop& runLoop, HANDLE input, std::function<void()> endOfInput);
    ~StandardInputSource() override;
    StandardInputSource(const StandardInputSource&) = delete;
    StandardInputSource& operator=(const StandardInputSource&) = delete;

    void setEventHandler(std::function<void()> handler) override;
    void resume() override;

    // What the reading thread and the main thread share; it lives as long as
    // either needs it.
    struct Shared;

private:
    RunLoop& runLoop_;
    HANDLE input_;
    std::shared_ptr<Shared> shared_;
    bool resumed_ = false;
};

}  // namespace tessary::update::win32
