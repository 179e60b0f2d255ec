// The Linux loader: it ends a program it cannot load with status 127 and says why.

#include <string>

#include "layout_cases.h"
#include "probe_report.h"

namespace tessary::service::testing {

std::vector<LayoutCase> layoutCases() {
    return {
        {"FrameworkBesideTheBundle", TESSARY_FRAMEWORK_FOLDER, plainEnvironment(), Ending::exitStatus(5), ""},
        // DT_RPATH is searched before LD_LIBRARY_PATH.
        {"EnvironmentCannotReplaceTheFramework",
         TESSARY_FRAMEWORK_FOLDER,
         {std::string("LD_LIBRARY_PATH=") + TESSARY_UNSTARTABLE_FRAMEWORK_FOLDER},
         Ending::exitStatus(5),
         ""},
        {"FrameworkMissing", std::nullopt, plainEnvironment(), Ending::exitStatus(127),
         "error while loading shared libraries: Electron Framework: cannot open shared object file"},
        {"EntryPointMissing", TESSARY_FRAMEWORK_WITHOUT_ENTRY_POINT_FOLDER, plainEnvironment(),
         Ending::exitStatus(127), "undefined symbol: ElectronInitializeICUandStartNode"},
        {"RuntimeMissing", TESSARY_UNSTARTABLE_FRAMEWORK_FOLDER, plainEnvironment(), Ending::exitStatus(127),
         "Electron Framework: cannot start the Node.js runtime /nonexistent/node: No such file or "
         "directory\n"},
    };
}

}  // namespace tessary::service::testing
