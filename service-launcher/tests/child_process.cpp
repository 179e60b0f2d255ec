#include "child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

namespace tessary::service::testing {
namespace {

// Descriptors handed to a child are kept at or above this number, so that placing them on 0 to 3 in
// the child never overwrites one that is still to be placed.
constexpr int kFirstPrivateDescriptor = 10;

[[noreturn]] void fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

std::vector<char*> nullTerminated(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (const std::string& string : strings) pointers.push_back(const_cast<char*>(string.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// The open descriptors of this process numbered `lowest` or above, listed before a fork: the child
// closes them, since only async-signal-safe calls may run between fork and exec there.
std::vector<int> openDescriptorsFrom(int lowest) {
    std::vector<int> numbers;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/fd")) {
        const int fd = std::stoi(entry.path().filename().string());
        if (fd >= lowest) numbers.push_back(fd);
    }
    // The listing's own descriptor is among them, already closed again; closing it in the child
    // fails harmlessly.
    return numbers;
}

}  // namespace

Descriptor::Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

Descriptor::~Descriptor() {
    if (fd_ >= 0) close(fd_);
}

namespace {

// A descriptor of its own, at or above kFirstPrivateDescriptor and closed on exec.
Descriptor privateCopy(int fd) {
    Descriptor copy{fcntl(fd, F_DUPFD_CLOEXEC, kFirstPrivateDescriptor)};
    if (copy.get() < 0) fail("fcntl");
    return copy;
}

}  // namespace

ScratchFile::ScratchFile(std::string_view content, int accessMode, off_t offset) {
    std::string path = (std::filesystem::temp_directory_path() / "tessary-service-file-XXXXXX").string();
    const Descriptor created{mkstemp(path.data())};
    if (created.get() < 0) fail("mkstemp");
    // Opening the file anew gives an open file description of its own with the wanted access mode;
    // then the name goes, so nothing is left behind.
    const Descriptor opened{open(path.c_str(), accessMode | O_CLOEXEC)};
    const int openError = errno;
    unlink(path.c_str());
    errno = openError;
    if (opened.get() < 0) fail("open scratch file");
    reader_ = privateCopy(created.get());
    handed_ = privateCopy(opened.get());
    if (pwrite(reader_.get(), content.data(), content.size(), 0) != static_cast<ssize_t>(content.size())) {
        fail("pwrite");
    }
    if (lseek(handed_.get(), offset, SEEK_SET) != offset) fail("lseek");
}

std::string ScratchFile::content() const {
    std::string content;
    char buffer[4096];
    for (;;) {
        const ssize_t count = pread(reader_.get(), buffer, sizeof buffer, static_cast<off_t>(content.size()));
        if (count < 0) fail("pread");
        if (count == 0) return content;
        content.append(buffer, static_cast<size_t>(count));
    }
}

off_t ScratchFile::offset() const {
    return lseek(handed_.get(), 0, SEEK_CUR);
}

std::ostream& operator<<(std::ostream& out, const Ending& ending) {
    return out << (ending.exited ? "exit status " : "signal ") << ending.value;
}

Finished runToEnd(const Launch& launch) {
    for (const int source : launch.descriptors) {
        if (source >= 0 && source < kFirstPrivateDescriptor)
            throw std::invalid_argument("descriptor too low");
    }
    std::vector<char*> arguments = nullTerminated(launch.arguments);
    std::vector<char*> environment = nullTerminated(launch.environment);
    const std::vector<int> inherited = openDescriptorsFrom(static_cast<int>(launch.descriptors.size()));

    const pid_t pid = fork();
    if (pid < 0) fail("fork");
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        for (int target = 0; target < static_cast<int>(launch.descriptors.size()); ++target) {
            const int source = launch.descriptors[target];
            if (source < 0) {
                close(target);
            } else if (dup2(source, target) < 0) {
                _exit(125);
            }
        }
        for (const int fd : inherited) close(fd);
        execve(launch.program.c_str(), arguments.data(), environment.data());
        _exit(125);
    }

    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) fail("waitpid");
    }
    const Ending ending =
        WIFEXITED(status) ? Ending::exitStatus(WEXITSTATUS(status)) : Ending::signal(WTERMSIG(status));
    return {pid, ending};
}

}  // namespace tessary::service::testing
