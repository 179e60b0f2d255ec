// An install request that cannot be delivered whole ends the run with status 1,
// never with a signal, so that the host does not take it for a dialog closed
// without an install; a request delivered, or never asked for, ends with 0.
#include <gtest/gtest.h>

#include "delivery_outputs.h"
#include "dialog_harness.h"

namespace tessary::update::testing {
namespace {

TEST(InstallDelivery, ARequestThatCannotBeDeliveredEndsWithStatusOne) {
    struct Case {
        const char* name;
        Output output;
        int pressed;
        int exitStatus;
    };
    const std::vector<Case> cases{
        {"reader gone, Install & Relaunch", Output::readerGone, 1, 1},
        {"no writes taken, Install & Relaunch", Output::refusesWrites, 1, 1},
        {"reader gone, Later: nothing to deliver", Output::readerGone, 2, 0},
        {"no writes taken, Later: nothing to deliver", Output::refusesWrites, 2, 0},
        // A closed standard output is opened on the null device at start: the host asked for nothing.
        {"null device, Install & Relaunch", Output::nullDevice, 1, 0},
    };
    for (const Case& c : cases) {
        StatusFolder folder;
        folder.write(statusJson("available", R"("latest": "2.0.0")"));
        const File output = openOutput(c.output, folder);
        ASSERT_TRUE(output) << c.name;
        const DialogRun run = runDialog(standardArguments(folder), {Press{c.pressed}},
                                        {.standardOutput = output.get(), .clock = {}});
        EXPECT_EQ(run.exitStatus, c.exitStatus) << c.name;
    }
}

}  // namespace
}  // namespace tessary::update::testing
