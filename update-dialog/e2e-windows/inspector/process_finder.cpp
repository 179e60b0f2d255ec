#include "process_finder.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <memory>

namespace tessary::update::inspector {
namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

using QueryInformationProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

template <typename T>
bool readRemote(HANDLE process, const void* address, T& value) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, address, &value, sizeof value, &read) && read == sizeof value;
}

// The command line from the process's own parameter block: its PEB points to
// the process parameters, which hold it as a UNICODE_STRING. (Wine does not
// implement ProcessCommandLineInformation, so this is the way that works on
// both.)
std::wstring commandLineOf(DWORD processId) {
    static const auto query = reinterpret_cast<QueryInformationProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    if (query == nullptr) return {};
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return {};
    PROCESS_BASIC_INFORMATION basic{};
    if (query(process.get(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return {};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (basic.PebBaseAddress == nullptr || !readRemote(process.get(), basic.PebBaseAddress, peb) ||
        peb.ProcessParameters == nullptr || !readRemote(process.get(), peb.ProcessParameters, parameters)) {
        return {};
    }
    const UNICODE_STRING& line = parameters.CommandLine;
    std::wstring text(line.Length / sizeof(wchar_t), L'\0');
    SIZE_T read = 0;
    if (text.empty() || !ReadProcessMemory(process.get(), line.Buffer, text.data(), line.Length, &read))
        return {};
    text.resize(read / sizeof(wchar_t));
    return text;
}

bool sameNameIgnoringCase(const std::wstring& left, const std::wstring& right) {
    return CompareStringOrdinal(left.c_str(), -1, right.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

std::vector<FoundProcess> findProcesses(const ProcessQuery& query) {
    std::vector<FoundProcess> found;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId()) continue;  // its own command line holds the query
        if (query.processId != 0 && entry.th32ProcessID != query.processId) continue;
        FoundProcess process{entry.th32ProcessID, entry.szExeFile, {}};
        if (!query.executableName.empty() &&
            !sameNameIgnoringCase(process.executableName, query.executableName)) {
            continue;
        }
        process.commandLine = commandLineOf(entry.th32ProcessID);
        if (!query.commandLineContains.empty() &&
            process.commandLine.find(query.commandLineContains) == std::wstring::npos) {
            continue;
        }
        found.push_back(std::move(process));
    }
    return found;
}

}  // namespace tessary::update::inspector
