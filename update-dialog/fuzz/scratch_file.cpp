#include "scratch_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

namespace tessary::update::fuzz {

namespace {

// Memory-backed when the machine has it: on a disk file system a truncated and
// rewritten file may be flushed to disk on close, which would slow every input.
std::filesystem::path scratchFolder() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

}  // namespace

ScratchFile::ScratchFile(std::string_view prefix) {
    std::string pattern = (scratchFolder() / prefix).string() + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder_ = pattern;
    path_ = (folder_ / "status.json").string();
}

ScratchFile::~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void ScratchFile::replace(std::string_view bytes) const {
    const int file = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (file < 0) std::abort();
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t got = write(file, bytes.data() + written, bytes.size() - written);
        if (got <= 0) std::abort();
        written += static_cast<std::size_t>(got);
    }
    // Dated a second back: a version the host finished long ago, which the
    // dialog takes at once rather than waiting for it to settle.
    timespec times[2] = {{0, UTIME_OMIT}, {}};
    clock_gettime(CLOCK_REALTIME, &times[1]);
    times[1].tv_sec -= 1;
    futimens(file, times);
    close(file);
}

MemoryStream::MemoryStream() : stream_(open_memstream(&buffer_, &size_)) {
    if (stream_ == nullptr) std::abort();
}

MemoryStream::~MemoryStream() {
    std::fclose(stream_);
    std::free(buffer_);
}

std::string_view MemoryStream::text() {
    std::fflush(stream_);
    return {buffer_, size_};
}

}  // namespace tessary::update::fuzz
