#include "core/standard_output.h"

#include <csignal>

namespace tessary::update {
namespace {

// Ignores SIGPIPE while it lives, so that writing to a pipe whose reader has
// gone fails with EPIPE instead of ending the process, and then puts back the
// disposition the process had.
class BrokenPipeIgnored {
public:
    BrokenPipeIgnored() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        restore_ = sigaction(SIGPIPE, &ignore, &previous_) == 0;
    }
    ~BrokenPipeIgnored() {
        if (restore_) sigaction(SIGPIPE, &previous_, nullptr);
    }
    BrokenPipeIgnored(const BrokenPipeIgnored&) = delete;
    BrokenPipeIgnored& operator=(const BrokenPipeIgnored&) = delete;

private:
    struct sigaction previous_ {};
    bool restore_ = false;
};

}  // namespace

bool writeWholeAndFlush(std::FILE* stream, std::string_view bytes) {
    const BrokenPipeIgnored brokenPipeIgnored;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    // Flushed even after a short write, so that nothing stays buffered for the exit to retry.
    const bool flushed = std::fflush(stream) == 0;
    return written && flushed;
}

}  // namespace tessary::update
