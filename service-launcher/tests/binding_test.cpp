// The framework is a required library, bound at load time and found three directories above the
// launcher's own, as on macOS.

#include <filesystem>
#include <optional>
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
using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::string readelf(const char* option) {
    const Descriptor out = anonymousFile();
    const Descriptor err = anonymousFile();
    const Launch launch{TESSARY_READELF,
                        {TESSARY_READELF, "-W", option, kLauncher},
                        {"LANG=C"},
                        {-1, out.get(), err.get(), -1}};
    const Finished finished = runToEnd(launch);
    EXPECT_EQ(finished.ending, Ending::exitStatus(0)) << contentOf(err);
    return contentOf(out);
}

TEST(Binding, FrameworkIsARequiredLibraryFoundBesideTheBundle) {
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

struct LayoutCase {
    const char* name;
    std::optional<std::string> framework;  // the library laid out beside the bundle, if any
    std::vector<std::string> environment;
    Ending ending;
    const char* errors;  // a part of what is written on descriptor 2

    friend void PrintTo(const LayoutCase& test, std::ostream* out) { *out << test.name; }
};

// The launcher and a framework copied into a fresh folder, laid out as they ship.
class Layout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, DecidesWhetherAndHowTheServiceStarts) {
    const LayoutCase& test = GetParam();
    const TemporaryDirectory folder;
    const fs::path executableFolder = folder.path() / "Tessary Service.app/Contents/MacOS";
    fs::create_directories(executableFolder);
    const fs::path launcher = executableFolder / "Tessary Service";
    fs::copy_file(kLauncher, launcher);
    if (test.framework) {
        fs::create_directories(folder.path() / "Electron Framework.framework");
        fs::copy_file(*test.framework, folder.path() / "Electron Framework.framework/Electron Framework");
    }

    const Descriptor out = anonymousFile();
    const Descriptor err = anonymousFile();
    const Launch launch{
        launcher, {launcher, "-e", "process.exit(5)"}, test.environment, {-1, out.get(), err.get(), -1}};
    EXPECT_EQ(runToEnd(launch).ending, test.ending);
    EXPECT_THAT(contentOf(out), IsEmpty());
    EXPECT_THAT(contentOf(err), HasSubstr(test.errors));
}

const std::string kUnstartableFolder = fs::path(TESSARY_UNSTARTABLE_FRAMEWORK_LIBRARY).parent_path();

INSTANTIATE_TEST_SUITE_P(
    Folders, Layout,
    ::testing::Values(
        LayoutCase{"FrameworkBesideTheBundle", TESSARY_FRAMEWORK_LIBRARY, plainEnvironment(),
                   Ending::exitStatus(5), ""},
        LayoutCase{"EnvironmentCannotReplaceTheFramework",
                   TESSARY_FRAMEWORK_LIBRARY,
                   {"LD_LIBRARY_PATH=" + kUnstartableFolder},
                   Ending::exitStatus(5),
                   ""},
        LayoutCase{
            "FrameworkMissing", std::nullopt, plainEnvironment(), Ending::exitStatus(127),
            "error while loading shared libraries: Electron Framework: cannot open shared object file"},
        LayoutCase{"RuntimeMissing", TESSARY_UNSTARTABLE_FRAMEWORK_LIBRARY, plainEnvironment(),
                   Ending::exitStatus(127),
                   "Electron Framework: cannot start the Node.js runtime /nonexistent/node: No such file or "
                   "directory\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::service::testing
