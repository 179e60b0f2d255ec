// Finds the processes of the program under test. Windows process ids under
// Wine are Wine's own, so a test names its process by a substring of the
// command line it started it with (unique per test: the status file's path),
// or by the executable's name.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tessary::update::inspector {

struct ProcessQuery {
    std::wstring commandLineContains;  // empty: not asked
    std::wstring executableName;       // empty: not asked; compared without case
    DWORD processId = 0;               // 0: not asked
};

struct FoundProcess {
    DWORD id = 0;
    std::wstring executableName;
    std::wstring commandLine;  // empty when it could not be read
};

// Every process but this one that matches all parts of the query that are given.
std::vector<FoundProcess> findProcesses(const ProcessQuery& query);

}  // namespace tessary::update::inspector
