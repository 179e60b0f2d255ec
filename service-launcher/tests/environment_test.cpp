// ELECTRON_RUN_AS_NODE, whatever its value, is absent for the runtime and for what it starts; every
// other variable reaches the runtime byte for byte and in order.

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "probe_report.h"

namespace tessary::service::testing {
namespace {

// Variables that look like the removed one, and values that are easy to mangle.
const std::vector<std::string> kOthers{
    "PATH=/usr/bin:/bin",
    "ELECTRON_RUN_AS_NODE_EXTRA=1",
    "electron_run_as_node=1",
    "XELECTRON_RUN_AS_NODE=1",
    "EMPTY=",
    "EQUALS=a=b=",
    "SPACES= two  spaces ",
    "NOT_UTF8=\xff\xfe\x80",
};

struct EnvironmentCase {
    const char* name;
    // Entries of the removed variable and the positions they take among the others, in ascending order.
    std::vector<std::pair<size_t, std::string>> placed;

    friend void PrintTo(const EnvironmentCase& test, std::ostream* out) { *out << test.name; }
};

std::vector<std::string> environmentOf(const EnvironmentCase& test) {
    std::vector<std::string> environment = kOthers;
    for (const auto& [position, entry] : test.placed) {
        environment.insert(environment.begin() + static_cast<std::ptrdiff_t>(position), entry);
    }
    return environment;
}

// Where the runtime's view of its environment is all that can be seen (macOS), entries that are not
// UTF-8 cannot be compared byte for byte and are left out, as is the variable the platform's
// CoreFoundation may add to a process that uses it.
std::vector<std::string> comparableView(const std::vector<std::string>& environment) {
    std::vector<std::string> view;
    std::copy_if(
        environment.begin(), environment.end(), std::back_inserter(view), [](const std::string& entry) {
            return !entry.starts_with("__CF_USER_TEXT_ENCODING=") &&
                   entry.find("\xEF\xBF\xBD") == std::string::npos && entry != "NOT_UTF8=\xff\xfe\x80";
        });
    return view;
}

class RemovedVariable : public ::testing::TestWithParam<EnvironmentCase> {};

TEST_P(RemovedVariable, IsAbsentWhileOthersArriveUnchanged) {
    const Observation run = observe({kLauncher, kProbe}, environmentOf(GetParam()));
    ASSERT_EQ(run.finished.ending, Ending::exitStatus(0)) << run.errors;
    const ProbeReport report = parseProbeReport(run.report);

    if (report.raw) {
        EXPECT_EQ(report.environ, kOthers);
    } else {
        EXPECT_EQ(comparableView(report.environ), comparableView(kOthers));
    }
    const auto isRemovedVariable = [](const std::string& entry) {
        return entry.starts_with("ELECTRON_RUN_AS_NODE=");
    };
    EXPECT_FALSE(report.childEnviron.empty());
    EXPECT_TRUE(std::none_of(report.childEnviron.begin(), report.childEnviron.end(), isRemovedVariable));
}

INSTANTIATE_TEST_SUITE_P(Values, RemovedVariable,
                         ::testing::Values(EnvironmentCase{"NotSet", {}},
                                           EnvironmentCase{"SetToOne", {{3, "ELECTRON_RUN_AS_NODE=1"}}},
                                           EnvironmentCase{"SetToEmpty", {{0, "ELECTRON_RUN_AS_NODE="}}},
                                           EnvironmentCase{"SetTwice",
                                                           {{0, "ELECTRON_RUN_AS_NODE=1"},
                                                            {9, "ELECTRON_RUN_AS_NODE=yes"}}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::service::testing
