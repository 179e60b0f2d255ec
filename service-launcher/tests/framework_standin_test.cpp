// The framework stand-in starts the runtime with exactly the count it is given: a launcher that
// changed the count is refused with a message, so the launcher's tests cannot pass with one.

#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "child_process.h"
#include "probe_report.h"

namespace tessary::service::testing {
namespace {

using ::testing::HasSubstr;

struct MiscountCase {
    const char* name;
    const char* launcher;  // a launcher that hands the framework its vector with a changed count
    const char* errors;

    friend void PrintTo(const MiscountCase& test, std::ostream* out) { *out << test.name; }
};

class MiscountingLauncher : public ::testing::TestWithParam<MiscountCase> {};

TEST_P(MiscountingLauncher, IsRefusedBeforeTheRuntimeStarts) {
    const MiscountCase& test = GetParam();
    const ScratchFile out;
    const ScratchFile err;
    const Launch launch{test.launcher,
                        {test.launcher, "-e", "process.exit(5)"},
                        plainEnvironment(),
                        {-1, out.get(), err.get(), -1}};
    EXPECT_EQ(runToEnd(launch).ending, Ending::exitStatus(70));
    EXPECT_EQ(out.content(), "");
    EXPECT_THAT(err.content(), HasSubstr(test.errors));
}

INSTANTIATE_TEST_SUITE_P(
    Counts, MiscountingLauncher,
    ::testing::Values(
        MiscountCase{"OneTooFew", TESSARY_LAUNCHER_COUNTING_ONE_TOO_FEW,
                     "Electron Framework: the argument vector does not hold exactly the 2 arguments "
                     "it was given with, ended by a null pointer\n"},
        MiscountCase{"OneTooMany", TESSARY_LAUNCHER_COUNTING_ONE_TOO_MANY,
                     "Electron Framework: the argument vector does not hold exactly the 4 arguments "
                     "it was given with, ended by a null pointer\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::service::testing
