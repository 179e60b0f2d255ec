// The macOS loader (dyld): it ends a program it cannot load with SIGABRT and says why.

#include <csignal>

#include "layout_cases.h"
#include "probe_report.h"

namespace tessary::service::testing {

std::vector<LayoutCase> layoutCases() {
    return {
        {"FrameworkBesideTheBundle", TESSARY_FRAMEWORK_FOLDER, plainEnvironment(), Ending::exitStatus(5), ""},
        {"FrameworkMissing", std::nullopt, plainEnvironment(), Ending::signal(SIGABRT),
         "Library not loaded: @rpath/Electron Framework.framework/Electron Framework"},
        // Refused at load, before any code of the launcher runs; a lazily bound entry point would
        // instead let the launcher run and end at the call with "missing lazy symbol called".
        {"EntryPointMissing", TESSARY_FRAMEWORK_WITHOUT_ENTRY_POINT_FOLDER, plainEnvironment(),
         Ending::signal(SIGABRT), "Symbol not found: _ElectronInitializeICUandStartNode"},
        {"RuntimeMissing", TESSARY_UNSTARTABLE_FRAMEWORK_FOLDER, plainEnvironment(), Ending::exitStatus(127),
         "Electron Framework: cannot start the Node.js runtime /nonexistent/node: No such file or "
         "directory\n"},
    };
}

}  // namespace tessary::service::testing
