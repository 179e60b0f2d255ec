// The command line reaches the runtime byte for byte and in order, argument 0 included, in the very
// process that was started.

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "probe_report.h"

namespace tessary::service::testing {
namespace {

std::string probeSource() {
    std::ifstream file(kProbe, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct ArgumentsCase {
    const char* name;
    std::vector<std::string> arguments;  // argument 0 included
    // Where the runtime's view of the script arguments can be compared as text (valid UTF-8), the
    // arguments it should list after its own path.
    std::vector<std::string> scriptView;
    bool utf8 = true;

    friend void PrintTo(const ArgumentsCase& test, std::ostream* out) { *out << test.name; }
};

class CommandLine : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(CommandLine, ReachesTheRuntimeUnchanged) {
    const ArgumentsCase& test = GetParam();
    // Without a script argument the runtime reads its program from standard input.
    const bool scriptOnInput = test.arguments.size() == 1;
    const Observation run = observe(test.arguments, plainEnvironment(), scriptOnInput ? probeSource() : "");
    ASSERT_EQ(run.finished.ending, Ending::exitStatus(0)) << run.errors;
    const ProbeReport report = parseProbeReport(run.report);

    // Where the platform shows the raw command line, it is byte for byte the one given; elsewhere
    // only the runtime's UTF-8 view of it can be compared.
    if (report.cmdline) {
        EXPECT_EQ(*report.cmdline, test.arguments);
    }
    if (!report.cmdline && !test.utf8) GTEST_SKIP() << "the raw command line is not visible here";
    EXPECT_EQ(report.pid, run.finished.pid);
    if (test.utf8) {
        EXPECT_EQ(report.argv0, test.arguments[0]);
        EXPECT_EQ(report.argv, test.scriptView);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, CommandLine,
    ::testing::Values(
        ArgumentsCase{"None", {kLauncher}, {}}, ArgumentsCase{"ScriptOnly", {kLauncher, kProbe}, {kProbe}},
        ArgumentsCase{"Empty", {kLauncher, kProbe, "", "x", ""}, {kProbe, "", "x", ""}},
        ArgumentsCase{"OptionLike",
                      {kLauncher, kProbe, "--version", "-e", "process.exit(3)", "--", "-", "-h"},
                      {kProbe, "--version", "-e", "process.exit(3)", "--", "-", "-h"}},
        ArgumentsCase{
            "RuntimeOptionBeforeScript", {kLauncher, "--stack-size=900", kProbe, "a"}, {kProbe, "a"}},
        ArgumentsCase{"ShellSpecial",
                      {kLauncher, kProbe, "two words", "'\"$HOME`", "line\nbreak", "*"},
                      {kProbe, "two words", "'\"$HOME`", "line\nbreak", "*"}},
        ArgumentsCase{"NotUtf8", {kLauncher, kProbe, "\xff\xfe", "caf\xc3", "\x80z"}, {}, false},
        ArgumentsCase{"OtherArgumentZero", {"service-host", kProbe, "a"}, {kProbe, "a"}},
        ArgumentsCase{"EmptyArgumentZero", {"", kProbe}, {kProbe}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::service::testing
