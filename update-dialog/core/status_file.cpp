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
    const auto size = static_cast<std::size_t>(info.st_size);

    // A host application that rewrites the file in place can truncate and
    // write it while a read copies it, and the read then joins the start of
    // one version to the rest of the next: possibly valid JSON that no version
    // held. A second read that finds the very same bytes shows none of that
    // happened; anything else is left for the next tick.
    auto bytes = readFromStart(file.get(), size);
    if (!bytes || readFromStart(file.get(), size) != bytes) return std::nullopt;
    return bytes;
}

}  // namespace tessary::update
