#include "child_process.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

Descriptor anonymousFile(std::string_view content, int accessMode, off_t offset) {
    const Descriptor memory{memfd_create("tessary-service-test", MFD_CLOEXEC)};
    if (memory.get() < 0) fail("memfd_create");
    if (pwrite(memory.get(), content.data(), content.size(), 0) != static_cast<ssize_t>(content.size())) {
        fail("pwrite");
    }
    // Opening the file anew gives an open file description of its own with the wanted access mode.
    const Descriptor reopened{open(("/proc/self/fd/" + std::to_string(memory.get())).c_str(), accessMode)};
    if (reopened.get() < 0) fail("open memfd");
    if (lseek(reopened.get(), offset, SEEK_SET) != offset) fail("lseek");
    Descriptor file{fcntl(reopened.get(), F_DUPFD_CLOEXEC, kFirstPrivateDescriptor)};
    if (file.get() < 0) fail("fcntl");
    return file;
}

std::string contentOf(const Descriptor& file) {
    // A description of its own for reading, since the file may be open for writing only.
    const Descriptor reader{
        open(("/proc/self/fd/" + std::to_string(file.get())).c_str(), O_RDONLY | O_CLOEXEC)};
    if (reader.get() < 0) fail("open for reading");
    std::string content;
    char buffer[4096];
    for (;;) {
        const ssize_t count = pread(reader.get(), buffer, sizeof buffer, static_cast<off_t>(content.size()));
        if (count < 0) fail("pread");
        if (count == 0) return content;
        content.append(buffer, static_cast<size_t>(count));
    }
}

off_t offsetOf(const Descriptor& file) {
    return lseek(file.get(), 0, SEEK_CUR);
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
        close_range(static_cast<unsigned>(launch.descriptors.size()), ~0U, 0);
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
