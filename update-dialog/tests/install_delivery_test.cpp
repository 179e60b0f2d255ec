// An install request that cannot be delivered whole ends the run with status 1,
// never with a signal, so that the host does not take it for a dialog closed
// without an install; a request delivered, or never asked for, ends with 0.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <memory>

#include "dialog_harness.h"

namespace tessary::update {
namespace {

using testing::DialogRun;
using testing::Press;
using testing::runDialog;
using testing::standardArguments;
using testing::StatusFolder;
using testing::statusJson;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A pipe whose reader has gone, as when the host crashed: writing to it raises SIGPIPE.
File pipeWithoutReader() {
    int ends[2];
    if (pipe(ends) != 0) return nullptr;
    close(ends[0]);
    return File(fdopen(ends[1], "w"));
}

enum class Output { readerGone, fullDisk, nullDevice };

File open(Output output) {
    switch (output) {
        case Output::readerGone:
            return pipeWithoutReader();
        case Output::fullDisk:
            return File(std::fopen("/dev/full", "w"));
        case Output::nullDevice:
            return File(std::fopen("/dev/null", "w"));
    }
    return nullptr;
}

TEST(InstallDelivery, ARequestThatCannotBeDeliveredEndsWithStatusOne) {
    struct Case {
        const char* name;
        Output output;
        int pressed;
        int exitStatus;
    };
    const std::vector<Case> cases{
        {"reader gone, Install & Relaunch", Output::readerGone, 1, 1},
        {"full disk, Install & Relaunch", Output::fullDisk, 1, 1},
        {"reader gone, Later: nothing to deliver", Output::readerGone, 2, 0},
        {"full disk, Later: nothing to deliver", Output::fullDisk, 2, 0},
        // A closed standard output is opened on the null device at start: the host asked for nothing.
        {"null device, Install & Relaunch", Output::nullDevice, 1, 0},
    };
    for (const Case& c : cases) {
        StatusFolder folder;
        folder.write(statusJson("available", R"("latest": "2.0.0")"));
        const File output = open(c.output);
        ASSERT_TRUE(output) << c.name;
        const DialogRun run = runDialog(standardArguments(folder), {Press{c.pressed}},
                                        {.standardOutput = output.get(), .clock = {}});
        EXPECT_EQ(run.exitStatus, c.exitStatus) << c.name;
    }
}

// The broken pipe is survived without changing what the process does with
// SIGPIPE afterwards.
TEST(InstallDelivery, LeavesTheBrokenPipeSignalAsItFoundIt) {
    StatusFolder folder;
    folder.write(statusJson("available"));
    const File output = pipeWithoutReader();
    ASSERT_TRUE(output);
    runDialog(standardArguments(folder), {Press{1}}, {.standardOutput = output.get(), .clock = {}});
    struct sigaction now {};
    ASSERT_EQ(sigaction(SIGPIPE, nullptr, &now), 0);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

}  // namespace
}  // namespace tessary::update
