#include "standard_input_source.h"

#include <atomic>
#include <thread>

#include "focus_lines.h"

namespace tessary::update::win32 {

struct StandardInputSource::Shared {
    std::shared_ptr<MainThreadChannel> channel;
    // Main thread only: the source's handlers, cleared when it goes.
    std::function<void()> handler;
    std::function<void()> endOfInput;
    bool alive = true;
    // A request is on its way to the main thread: later ones join it.
    std::atomic<bool> requestPending{false};
};

namespace {

// Reads `input` to its end, handing requests and the end to the main thread.
// Reads with an OVERLAPPED structure, so that a handle opened for overlapped
// input (a named pipe's, as Node.js makes them) is read as well as one that
// is not; the thread waits for each read either way.
// How a pipe tells that its writer has closed it (or has gone).
bool isEndOfInput(DWORD error) {
    return error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF || error == ERROR_PIPE_NOT_CONNECTED ||
           error == ERROR_NO_DATA;
}

void readRequests(HANDLE input, std::shared_ptr<StandardInputSource::Shared> shared) {
    const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    FocusLines lines;
    char buffer[4096];
    bool ended = false;
    for (;;) {
        OVERLAPPED read{};
        read.hEvent = done;
        DWORD got = 0;
        bool ok = ReadFile(input, buffer, sizeof buffer, &got, &read) != FALSE;
        if (!ok && GetLastError() == ERROR_IO_PENDING)
            ok = GetOverlappedResult(input, &read, &got, TRUE) != FALSE;
        if (!ok) {
            const DWORD error = GetLastError();
            // A read cut short (ERROR_MORE_DATA, a message pipe) still holds bytes.
            if (error != ERROR_MORE_DATA) {
                // Any other failure only stops the reading: the dialog is never ended on a doubt.
                ended = isEndOfInput(error);
                break;
            }
        } else if (got == 0) {
            ended = true;
            break;
        }
        for (std::size_t requests = lines.take({buffer, got}); requests > 0; --requests) {
            if (shared->requestPending.exchange(true)) continue;
            shared->channel->post([shared] {
                shared->requestPending = false;
                if (shared->alive && shared->handler) shared->handler();
            });
        }
    }
    CloseHandle(done);
    CloseHandle(input);
    if (!ended) return;
    shared->channel->post([shared] {
        if (shared->alive && shared->endOfInput) shared->endOfInput();
    });
}

}  // namespace

StandardInputSource::StandardInputSource(RunLoop& runLoop, HANDLE input, std::function<void()> endOfInput)
    : runLoop_(runLoop), input_(input), shared_(std::make_shared<Shared>()) {
    shared_->channel = runLoop_.channel();
    shared_->endOfInput = std::move(endOfInput);
}

StandardInputSource::~StandardInputSource() {
    // The thread may read on; nothing it hands over runs any more.
    shared_->alive = false;
    shared_->handler = nullptr;
    shared_->endOfInput = nullptr;
}

void StandardInputSource::setEventHandler(std::function<void()> handler) {
    shared_->handler = std::move(handler);
}

void StandardInputSource::resume() {
    if (resumed_) return;
    resumed_ = true;
    if (input_ == nullptr || input_ == INVALID_HANDLE_VALUE || GetFileType(input_) != FILE_TYPE_PIPE) return;
    // The thread reads a handle of its own, so that it never depends on who closes the given one.
    HANDLE own = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), input_, GetCurrentProcess(), &own, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
        return;
    std::thread(readRequests, own, shared_).detach();
}

}  // namespace tessary::update::win32
