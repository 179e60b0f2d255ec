// On Linux: the framework is a required library found beside the bundle and bound entirely when the
// launcher is loaded, so that a framework without the entry point stops the program before any of
// the launcher's code runs. strace shows what the launcher's process did before it ended.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "child_process.h"
#include "probe_report.h"
#include "temporary_directory.h"

namespace tessary::service::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;

std::string readelf(const char* option) {
    const ScratchFile out;
    const ScratchFile err;
    const Launch launch{TESSARY_READELF,
                        {TESSARY_READELF, "-W", option, kLauncher},
                        {"LANG=C"},
                        {-1, out.get(), err.get(), -1}};
    const Finished finished = runToEnd(launch);
    EXPECT_EQ(finished.ending, Ending::exitStatus(0)) << err.content();
    return out.content();
}

TEST(ElfBinding, FrameworkIsARequiredLibraryFoundBesideTheBundle) {
    const std::string dynamic = readelf("--dynamic");
    EXPECT_THAT(dynamic, ContainsRegex(R"(\(NEEDED\) +Shared library: \[Electron Framework\])"));
    // The one search path, relative to the executable and searched before LD_LIBRARY_PATH.
    EXPECT_THAT(
        dynamic,
        ContainsRegex(
            R"(\(RPATH\) +Library rpath: \[\$ORIGIN/\.\./\.\./\.\./Electron Framework\.framework\])"));
    EXPECT_THAT(dynamic, Not(HasSubstr("RUNPATH")));
    // The entry point is a strong import: without it the program does not start.
    EXPECT_THAT(readelf("--dyn-syms"),
                ContainsRegex(R"(GLOBAL +DEFAULT +UND ElectronInitializeICUandStartNode)"));
}

TEST(ElfBinding, EverySymbolIsBoundWhenTheProgramIsLoaded) {
    const std::string dynamic = readelf("--dynamic");
    // DT_BIND_NOW, or the BIND_NOW flag in DT_FLAGS where the linker writes the newer tags.
    EXPECT_THAT(dynamic, ContainsRegex(R"(\(BIND_NOW\)|\(FLAGS\) +BIND_NOW)"));
    EXPECT_THAT(dynamic, ContainsRegex(R"(\(FLAGS_1\) +Flags: NOW)"));
}

// The system calls of the process, as strace writes them, one per line.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// The opens of the null device made by the launcher's image: after the launcher was executed and
// before the next program (the runtime) replaced it.
std::vector<std::string> nullDeviceOpensOfTheLauncher(const std::vector<std::string>& trace,
                                                      const std::string& launcher) {
    std::vector<std::string> opens;
    bool inLauncher = false;
    for (const std::string& line : trace) {
        if (line.find("execve(") != std::string::npos && line.ends_with("= 0")) {
            inLauncher = line.find("execve(\"" + launcher + "\"") != std::string::npos;
        } else if (inLauncher && line.find("\"/dev/null\"") != std::string::npos) {
            opens.push_back(line);
        }
    }
    return opens;
}

struct TracedCase {
    const char* name;
    const char* framework;  // the framework folder laid out beside the bundle
    Ending ending;
    int nullDeviceOpens;  // by the launcher, with descriptors 0, 1 and 2 closed

    friend void PrintTo(const TracedCase& test, std::ostream* out) { *out << test.name; }
};

class TracedStart : public ::testing::TestWithParam<TracedCase> {};

// With the standard descriptors closed, a launcher that ran would reopen them on the null device,
// so the trace shows whether any of its steps ran before the process ended.
TEST_P(TracedStart, ShowsWhetherTheLauncherRan) {
    const TracedCase& test = GetParam();
    const TemporaryDirectory folder;
    const fs::path executableFolder = folder.path() / "Tessary Service.app/Contents/MacOS";
    fs::create_directories(executableFolder);
    const std::string launcher = (executableFolder / "Tessary Service").string();
    fs::copy_file(kLauncher, launcher);
    fs::copy(test.framework, folder.path() / "Electron Framework.framework", fs::copy_options::recursive);
    const std::string traceFile = (folder.path() / "trace").string();

    const ScratchFile out;
    const ScratchFile err;
    // The shell closes the three descriptors for the launcher alone; strace keeps its own.
    const Launch launch{
        TESSARY_STRACE,
        {TESSARY_STRACE, "-f", "-o", traceFile, "-e", "trace=execve,open,openat", "--", "/bin/sh", "-c",
         R"(exec "$0" "$@" <&- >&- 2>&-)", launcher, "-e", "process.exit(5)"},
        plainEnvironment(),
        {-1, out.get(), err.get(), -1}};
    const Finished finished = runToEnd(launch);
    ASSERT_TRUE(fs::exists(traceFile)) << "strace could not trace: " << err.content();
    std::ifstream traceStream(traceFile);
    const std::vector<std::string> trace =
        linesOf(std::string(std::istreambuf_iterator<char>(traceStream), std::istreambuf_iterator<char>()));

    // strace ends with the status of the program it traced.
    EXPECT_EQ(finished.ending, test.ending) << err.content();
    // The loader did map the framework: the trace covers the launcher's start.
    EXPECT_THAT(trace, Contains(AllOf(HasSubstr("Electron Framework.framework/Electron Framework\""),
                                      Not(HasSubstr("ENOENT")))));
    EXPECT_EQ(nullDeviceOpensOfTheLauncher(trace, launcher).size(), static_cast<size_t>(test.nullDeviceOpens))
        << ::testing::PrintToString(nullDeviceOpensOfTheLauncher(trace, launcher));
}

INSTANTIATE_TEST_SUITE_P(
    Frameworks, TracedStart,
    ::testing::Values(
        // The control: the launcher runs and reopens all three descriptors before the runtime starts.
        TracedCase{"EntryPointPresent", TESSARY_FRAMEWORK_FOLDER, Ending::exitStatus(5), 3},
        // The loader refuses the program: nothing of the launcher ran.
        TracedCase{"EntryPointMissing", TESSARY_FRAMEWORK_WITHOUT_ENTRY_POINT_FOLDER, Ending::exitStatus(127),
                   0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::service::testing
