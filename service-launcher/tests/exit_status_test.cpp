// The runtime's exit status, or the signal that ends it, is the process's; the launcher writes
// nothing of its own.

#include <string>

#include <gtest/gtest.h>

#include "probe_report.h"

namespace tessary::service::testing {
namespace {

struct EndingCase {
    const char* name;
    const char* script;
    Ending ending;
    const char* output;
    const char* errors;

    friend void PrintTo(const EndingCase& test, std::ostream* out) { *out << test.name; }
};

class RuntimeEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(RuntimeEnding, PassesThroughWithNoOutputAdded) {
    const EndingCase& test = GetParam();
    const Observation run = observe({kLauncher, "-e", test.script}, plainEnvironment());
    EXPECT_EQ(run.finished.ending, test.ending);
    EXPECT_EQ(run.output, test.output);
    EXPECT_EQ(run.errors, test.errors);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, RuntimeEnding,
    ::testing::Values(
        EndingCase{"Zero", "process.exit(0)", Ending::exitStatus(0), "", ""},
        EndingCase{"One", "process.exit(1)", Ending::exitStatus(1), "", ""},
        EndingCase{"SevenAtTheEnd", "process.exitCode = 7", Ending::exitStatus(7), "", ""},
        EndingCase{"TwoHundredFiftyFive", "process.exit(255)", Ending::exitStatus(255), "", ""},
        EndingCase{"OutputOfTheService", "process.stdout.write('out'); process.stderr.write('err')",
                   Ending::exitStatus(0), "out", "err"},
        EndingCase{"KilledBySignal", "process.kill(process.pid, 'SIGTERM')", Ending::signal(15), "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::service::testing
