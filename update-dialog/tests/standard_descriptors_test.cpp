// Descriptors 0-2 closed at start are opened on /dev/null, the right way round,
// and open ones are left exactly as they were.
#include "core/standard_descriptors.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

namespace tessary::update {
namespace {

// How descriptor `fd` stands after the repair, as a bit of a child's exit status.
enum Finding : int { wrongDevice = 1, wrongMode = 2, notKept = 4 };

int check(int fd, bool wasClosed, const struct stat& before) {
    struct stat now {};
    if (fstat(fd, &now) != 0) return wrongDevice;
    struct stat null {};
    stat("/dev/null", &null);
    if (wasClosed) {
        int findings = 0;
        if (!S_ISCHR(now.st_mode) || now.st_rdev != null.st_rdev) findings |= wrongDevice;
        const int mode = fcntl(fd, F_GETFL) & O_ACCMODE;
        if (mode != (fd == 0 ? O_RDONLY : O_WRONLY)) findings |= wrongMode;
        return findings;
    }
    return now.st_dev == before.st_dev && now.st_ino == before.st_ino ? 0 : notKept;
}

// Runs the repair in a child whose descriptors 0-2 are pipes, except those
// closed; returns the findings for descriptors 0, 1 and 2.
std::array<int, 3> repairInChild(std::array<bool, 3> closed) {
    const pid_t child = fork();
    if (child == 0) {
        std::array<struct stat, 3> before{};
        for (int fd = 0; fd <= 2; ++fd) {
            int ends[2];
            if (pipe(ends) != 0) _exit(127);
            dup2(fd == 0 ? ends[0] : ends[1], fd);
            fstat(fd, &before[static_cast<std::size_t>(fd)]);
        }
        for (int fd = 0; fd <= 2; ++fd) {
            if (closed[static_cast<std::size_t>(fd)]) close(fd);
        }
        openClosedStandardDescriptors();
        int status = 0;
        for (int fd = 0; fd <= 2; ++fd) {
            const auto index = static_cast<std::size_t>(fd);
            status |= check(fd, closed[index], before[index]) << (3 * fd);
        }
        _exit(status);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status)) return {-1, -1, -1};
    const int findings = WEXITSTATUS(status);
    return {findings & 7, (findings >> 3) & 7, (findings >> 6) & 7};
}

TEST(StandardDescriptors, ClosedOnesAreOpenedOnDevNullAndOpenOnesKept) {
    const std::vector<std::array<bool, 3>> cases{
        {false, false, false}, {true, false, false}, {false, true, false},
        {false, false, true},  {false, true, true},  {true, true, true},
    };
    for (const auto& closed : cases) {
        EXPECT_EQ(repairInChild(closed), (std::array<int, 3>{0, 0, 0}))
            << "closed: " << closed[0] << closed[1] << closed[2];
    }
}

}  // namespace
}  // namespace tessary::update
