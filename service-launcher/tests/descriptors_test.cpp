// Every combination of closed standard descriptors: a closed one reaches the runtime open on the null
// device under its own number and with its own direction; an open one reaches it untouched.

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "child_process.h"
#include "probe_report.h"

namespace tessary::service::testing {
namespace {

struct Inherited {
    const char* content;
    int accessMode;
    off_t offset;
};

// What the test hands over on 0, 1 and 2 when a descriptor is left open: different files, modes and
// offsets, so that a swapped or reopened descriptor shows.
constexpr std::array<Inherited, 3> kInherited{{
    {"input text", O_RDONLY, 2},
    {"earlier output", O_WRONLY, 3},
    {"earlier errors", O_RDWR, 4},
}};

// The direction in which a closed descriptor is reopened: input for reading, output for writing.
constexpr std::array<int, 3> kReopenedAccessMode{O_RDONLY, O_WRONLY, O_WRONLY};

bool isClosed(unsigned closedMask, int fd) {
    return (closedMask >> fd) & 1U;
}

std::pair<std::string, std::string> identityOf(int fd) {
    struct stat status {};
    if (fstat(fd, &status) != 0) throw std::runtime_error("fstat");
    return {std::to_string(status.st_dev), std::to_string(status.st_ino)};
}

std::pair<std::string, std::string> identityOfNullDevice() {
    const Descriptor null{open("/dev/null", O_RDONLY | O_CLOEXEC)};
    return identityOf(null.get());
}

class ClosedDescriptors : public ::testing::TestWithParam<unsigned> {};

TEST_P(ClosedDescriptors, ReachTheRuntimeOnTheNullDeviceWhileOpenOnesAreUntouched) {
    const unsigned closedMask = GetParam();
    std::vector<ScratchFile> files;
    Launch launch{kLauncher, {kLauncher, kProbe}, plainEnvironment(), {}};
    for (int fd = 0; fd < 3; ++fd) {
        files.emplace_back(kInherited[fd].content, kInherited[fd].accessMode, kInherited[fd].offset);
        launch.descriptors[fd] = isClosed(closedMask, fd) ? -1 : files[fd].get();
    }
    const ScratchFile reportFile;
    launch.descriptors[3] = reportFile.get();

    const Finished finished = runToEnd(launch);
    ASSERT_EQ(finished.ending, Ending::exitStatus(0));
    const ProbeReport report = parseProbeReport(reportFile.content());
    ASSERT_EQ(report.descriptors.size(), 3U);

    for (int fd = 0; fd < 3; ++fd) {
        SCOPED_TRACE("descriptor " + std::to_string(fd));
        const DescriptorView& seen = report.descriptors[fd];
        ASSERT_TRUE(seen.open);
        if (isClosed(closedMask, fd)) {
            EXPECT_EQ(std::pair(seen.dev, seen.ino), identityOfNullDevice());
            EXPECT_EQ(seen.accessMode, kReopenedAccessMode[fd]);
        } else {
            EXPECT_EQ(std::pair(seen.dev, seen.ino), identityOf(files[fd].get()));
            EXPECT_EQ(seen.accessMode, kInherited[fd].accessMode);
            if (seen.pos) {
                EXPECT_EQ(*seen.pos, kInherited[fd].offset);
            }
        }
        // Nothing was read from or written to the inherited file on the way.
        EXPECT_EQ(files[fd].offset(), kInherited[fd].offset);
        EXPECT_EQ(files[fd].content(), kInherited[fd].content);
    }
}

std::string closedName(const ::testing::TestParamInfo<unsigned>& info) {
    std::string name;
    for (int fd = 0; fd < 3; ++fd) {
        if (isClosed(info.param, fd)) name += (name.empty() ? "Closed" : "And") + std::to_string(fd);
    }
    return name.empty() ? "NoneClosed" : name;
}

INSTANTIATE_TEST_SUITE_P(AllCombinations, ClosedDescriptors, ::testing::Range(0U, 8U), closedName);

}  // namespace
}  // namespace tessary::service::testing
