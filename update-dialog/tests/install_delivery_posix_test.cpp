// The broken pipe is survived without changing what the process does with
// SIGPIPE afterwards.
#include <gtest/gtest.h>

#include <csignal>

#include "delivery_outputs.h"
#include "dialog_harness.h"

namespace tessary::update::testing {
namespace {

TEST(InstallDelivery, LeavesTheBrokenPipeSignalAsItFoundIt) {
    StatusFolder folder;
    folder.write(statusJson("available"));
    const File output = openOutput(Output::readerGone, folder);
    ASSERT_TRUE(output);
    runDialog(standardArguments(folder), {Press{1}}, {.standardOutput = output.get(), .clock = {}});
    struct sigaction now {};
    ASSERT_EQ(sigaction(SIGPIPE, nullptr, &now), 0);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

}  // namespace
}  // namespace tessary::update::testing
