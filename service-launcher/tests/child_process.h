#pragma once

// Starting a program with exactly the command line, environment and descriptors a test chooses, and
// scratch files to hand over as its descriptors. Plain POSIX, so that the same tests run on Linux
// and on macOS.

#include <fcntl.h>
#include <sys/types.h>

#include <array>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tessary::service::testing {

// An owned file descriptor, closed when dropped.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept;
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor();

    int get() const { return fd_; }

private:
    int fd_ = -1;
};

// A file without a name holding `content`, opened with `accessMode` (O_RDONLY, O_WRONLY or O_RDWR)
// and positioned at `offset`: the descriptor a test hands to a child. Its number lies above those a
// child is given, and it is closed on exec, so a child sees it only where a test hands it over. A
// second open file description of the same file reads it back without moving that offset.
class ScratchFile {
public:
    explicit ScratchFile(std::string_view content = {}, int accessMode = O_RDWR, off_t offset = 0);

    int get() const { return handed_.get(); }
    // The whole content of the file.
    std::string content() const;
    // The offset of the handed-over description.
    off_t offset() const;

private:
    Descriptor handed_;
    Descriptor reader_;
};

// What a child starts with. Descriptor n of the child is `descriptors[n]` of this process, or closed
// where that is -1; every other descriptor is closed.
struct Launch {
    std::string program;
    std::vector<std::string> arguments;    // argument 0 included
    std::vector<std::string> environment;  // "NAME=value" entries, in this order
    std::array<int, 4> descriptors{-1, -1, -1, -1};
};

// How a child ended: its exit status, or the signal that killed it.
struct Ending {
    bool exited = true;
    int value = 0;

    static Ending exitStatus(int status) { return {true, status}; }
    static Ending signal(int number) { return {false, number}; }
    friend bool operator==(const Ending&, const Ending&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Ending& ending);
};

struct Finished {
    pid_t pid = 0;
    Ending ending;
};

// Starts the child and waits for it to end.
Finished runToEnd(const Launch& launch);

}  // namespace tessary::service::testing
