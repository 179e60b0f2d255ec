#include "core/standard_output.h"

#include <fcntl.h>
#include <io.h>

namespace tessary::update {

// Windows raises no signal for a pipe whose reader has gone: the write fails.
// The stream is switched to binary first, so that the line feed is written as
// it is (a stream in text mode would write "\r\n").
bool writeWholeAndFlush(std::FILE* stream, std::string_view bytes) {
    const int descriptor = _fileno(stream);
    if (descriptor < 0 || _setmode(descriptor, _O_BINARY) == -1) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    // Flushed even after a short write, so that nothing stays buffered for the exit to retry.
    const bool flushed = std::fflush(stream) == 0;
    return written && flushed;
}

}  // namespace tessary::update
