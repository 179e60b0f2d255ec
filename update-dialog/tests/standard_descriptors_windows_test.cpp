// Standard handles missing at start become the NUL device, the right way round,
// and given ones are kept: run in a GUI program of the tests' own
// (standard_handles_probe.cpp), started with some handles missing.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace tessary::update {
namespace {

std::wstring probePath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"standard-handles-probe.exe";
}

enum class Given { pipe, none, stale };

struct Pipe {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    ~Pipe() {
        if (read) CloseHandle(read);
        if (write) CloseHandle(write);
    }
};

struct Outcome {
    DWORD exitStatus = 0xFFFF;
    std::string standardOutput;
};

// Starts the probe with each standard handle a pipe, missing (null), or a
// value that names no handle in it.
Outcome runProbe(std::array<Given, 3> given) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    std::array<Pipe, 3> pipes;
    std::array<HANDLE, 3> childEnds{};
    std::wstring expected;
    for (std::size_t i = 0; i < 3; ++i) {
        expected += given[i] == Given::pipe ? L'p' : L'n';
        if (given[i] == Given::none) continue;
        if (given[i] == Given::stale) {
            childEnds[i] = reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x7ff0));
            continue;
        }
        CreatePipe(&pipes[i].read, &pipes[i].write, &inheritable, 64 * 1024);
        // The child gets the end it uses; the test keeps the other, not inherited.
        childEnds[i] = i == 0 ? pipes[i].read : pipes[i].write;
        SetHandleInformation(i == 0 ? pipes[i].write : pipes[i].read, HANDLE_FLAG_INHERIT, 0);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childEnds[0];
    startup.hStdOutput = childEnds[1];
    startup.hStdError = childEnds[2];
    std::wstring commandLine = L"\"" + probePath() + L"\" " + expected;
    PROCESS_INFORMATION process{};
    Outcome outcome;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process))
        return outcome;
    // The child's ends belong to it now; an input pipe then ends at once.
    for (std::size_t i = 0; i < 3; ++i) {
        if (given[i] != Given::pipe) continue;
        HANDLE& childEnd = i == 0 ? pipes[i].read : pipes[i].write;
        CloseHandle(childEnd);
        childEnd = nullptr;
    }
    if (pipes[0].write) {
        CloseHandle(pipes[0].write);
        pipes[0].write = nullptr;
    }
    if (WaitForSingleObject(process.hProcess, 20'000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &outcome.exitStatus);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (pipes[1].read) {
        char buffer[256];
        DWORD got = 0;
        while (ReadFile(pipes[1].read, buffer, sizeof buffer, &got, nullptr) && got > 0)
            outcome.standardOutput.append(buffer, got);
    }
    return outcome;
}

TEST(StandardDescriptors, MissingOnesBecomeTheNulDeviceAndGivenOnesAreKept) {
    using enum Given;
    const std::vector<std::array<Given, 3>> cases{
        {pipe, pipe, pipe}, {none, pipe, pipe}, {pipe, none, pipe},  {pipe, pipe, none},
        {pipe, none, none}, {none, none, none}, {stale, pipe, pipe}, {pipe, stale, stale},
    };
    for (const auto& given : cases) {
        const Outcome outcome = runProbe(given);
        const auto name = std::to_string(static_cast<int>(given[0])) +
                          std::to_string(static_cast<int>(given[1])) +
                          std::to_string(static_cast<int>(given[2]));
        EXPECT_EQ(outcome.exitStatus, 0u) << "given (0 pipe, 1 none, 2 stale): " << name;
        if (given[1] == pipe) {
            EXPECT_EQ(outcome.standardOutput, "{\"action\":\"install\"}\n") << name;
        }
    }
}

}  // namespace
}  // namespace tessary::update
