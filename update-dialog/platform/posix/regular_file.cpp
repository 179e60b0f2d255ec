#include "core/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tessary::update {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (descriptor_ >= 0) close(descriptor_);
    }
    int get() const { return descriptor_; }
    explicit operator bool() const { return descriptor_ >= 0; }

private:
    int descriptor_;
};

// The file's bytes from its start, asking for one byte more than `size`: a
// short read is the end of the file, a full one means a writer is growing it.
std::optional<std::string> readFromStart(int descriptor, std::size_t size) {
    std::string bytes(size + 1, '\0');
    ssize_t got = 0;
    do {
        got = pread(descriptor, bytes.data(), bytes.size(), 0);
    } while (got < 0 && errno == EINTR);
    if (got < 0 || static_cast<std::size_t>(got) > size) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

// The modification time under either name the C libraries give it
// (st_mtim on Linux, st_mtimespec on macOS).
template <typename Status>
timespec modificationTime(const Status& status) {
    if constexpr (requires { status.st_mtim; }) {
        return status.st_mtim;
    } else {
        return status.st_mtimespec;
    }
}

std::chrono::system_clock::time_point timePoint(timespec time) {
    const auto sinceEpoch = std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(sinceEpoch));
}

}  // namespace

std::optional<FileContents> readRegularFile(const std::string& path, std::size_t maximumSize,
                                            const std::function<void()>& betweenReads) {
    // O_NONBLOCK keeps a FIFO at this path from stalling the dialog in open().
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file) return std::nullopt;

    struct stat before {};
    if (fstat(file.get(), &before) != 0 || !S_ISREG(before.st_mode)) return std::nullopt;
    if (before.st_size < 0 || static_cast<std::size_t>(before.st_size) > maximumSize) return std::nullopt;
    const auto size = static_cast<std::size_t>(before.st_size);

    auto bytes = readFromStart(file.get(), size);
    if (!bytes) return std::nullopt;
    if (betweenReads) betweenReads();
    if (readFromStart(file.get(), size) != bytes) return std::nullopt;

    // Taken after the reads, so that the time covers every write they could have met.
    struct stat after {};
    if (fstat(file.get(), &after) != 0) return std::nullopt;
    return FileContents{std::move(*bytes),
                        {static_cast<std::uint64_t>(after.st_dev), static_cast<std::uint64_t>(after.st_ino)},
                        timePoint(modificationTime(after))};
}

}  // namespace tessary::update
