// The framework is a required library, bound at load time and found three directories above the
// launcher's own, as it ships: beside the bundle it starts the service; missing, without its entry
// point, or without a runtime, the platform's loader or the framework reports it and nothing starts.

#include <filesystem>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "child_process.h"
#include "layout_cases.h"
#include "probe_report.h"
#include "temporary_directory.h"

namespace tessary::service::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

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
        fs::copy(*test.framework, folder.path() / "Electron Framework.framework",
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }

    const ScratchFile out;
    const ScratchFile err;
    const Launch launch{
        launcher, {launcher, "-e", "process.exit(5)"}, test.environment, {-1, out.get(), err.get(), -1}};
    EXPECT_EQ(runToEnd(launch).ending, test.ending);
    EXPECT_THAT(out.content(), IsEmpty());
    EXPECT_THAT(err.content(), HasSubstr(test.errors));
}

INSTANTIATE_TEST_SUITE_P(Folders, Layout, ::testing::ValuesIn(layoutCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::service::testing
