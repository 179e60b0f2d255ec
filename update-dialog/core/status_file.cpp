#include "status_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

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

std::string currentDirectory() {
    std::vector<char> buffer(PATH_MAX);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

}  // namespace

std::string absoluteFilePath(std::string_view path) {
    if (!path.empty() && path.front() == '/') return std::string(path);
    std::string directory = currentDirectory();
    if (directory.empty()) return std::string(path);  // no current directory: keep it relative
    if (directory.back() != '/') directory += '/';
    return directory.append(path);
}

std::optional<std::string> readWholeFile(const std::string& path) {
    // O_NONBLOCK keeps a FIFO at this path from stalling the dialog in open().
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file) return std::nullopt;

    struct stat info {};
    if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    if (info.st_size < 0 || static_cast<std::size_t>(info.st_size) > maximumStatusFileSize)
        return std::nullopt;

    // One read takes it all: asking for one byte more than the file holds, a
    // short read is the end of the file. A full one means a writer grew the
    // file since fstat; reading on would join its next version to this one.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        filled += static_cast<std::size_t>(got);
        if (filled < bytes.size()) break;
        return std::nullopt;  // being written: the next tick reads again
    }
    if (filled > maximumStatusFileSize) return std::nullopt;
    bytes.resize(filled);
    return bytes;
}

}  // namespace tessary::update
