// The tests' helpers on Windows.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "dialog_harness.h"
#include "platform/windows/wide_text.h"

namespace tessary::update::testing {
namespace {

// An anonymous pipe: the stream writes into one end, the test reads what has
// arrived at the other without waiting.
class PipeOutput final : public CapturedOutput {
public:
    PipeOutput() {
        HANDLE readEnd = nullptr;
        HANDLE writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, nullptr, 64 * 1024))
            throw std::runtime_error("CreatePipe failed");
        readEnd_ = readEnd;
        // A stream in text mode, as a program's standard output starts out.
        const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(writeEnd), _O_WRONLY | _O_TEXT);
        stream_ = descriptor < 0 ? nullptr : _fdopen(descriptor, "w");
        if (!stream_) throw std::runtime_error("_fdopen failed");
    }
    ~PipeOutput() override {
        std::fclose(stream_);
        CloseHandle(readEnd_);
    }
    PipeOutput(const PipeOutput&) = delete;
    PipeOutput& operator=(const PipeOutput&) = delete;

    std::FILE* stream() override { return stream_; }
    std::string flushedBytes() override {
        std::string bytes;
        DWORD waiting = 0;
        while (PeekNamedPipe(readEnd_, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
            std::string chunk(waiting, '\0');
            DWORD got = 0;
            if (!ReadFile(readEnd_, chunk.data(), waiting, &got, nullptr) || got == 0) break;
            bytes.append(chunk, 0, got);
        }
        return bytes;
    }

private:
    HANDLE readEnd_ = nullptr;
    std::FILE* stream_ = nullptr;
};

}  // namespace

// "icône ÿ 𝄞.png": Latin letters beyond ASCII, and a musical symbol from beyond the BMP.
const std::string_view unusualFileName = "ic\xc3\xb4ne \xc3\xbf \xf0\x9d\x84\x9e.png";

// Named pipes live in a namespace of their own, not in the folder.
WaitingSpecialFile::WaitingSpecialFile(const StatusFolder&) {
    static std::atomic<unsigned> made{0};
    const std::wstring name = L"\\\\.\\pipe\\tessary-update-test-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(++made);
    const HANDLE pipe =
        CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) throw std::runtime_error("CreateNamedPipeW failed");
    handle_ = pipe;
    path_ = windows::utf8FromWide(name);
}

WaitingSpecialFile::~WaitingSpecialFile() {
    CloseHandle(handle_);
}

std::filesystem::path newTemporaryFolder() {
    static std::atomic<unsigned> made{0};
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = L"tessary-update-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++made);
        const auto folder = base / name;
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    throw std::runtime_error("no temporary folder could be made");
}

std::string corePath(const std::filesystem::path& path) {
    return windows::utf8FromWide(path.native());
}

std::filesystem::path fileSystemPath(std::string_view corePath) {
    return std::filesystem::path(windows::wideFromUtf8(corePath));
}

void setModificationTime(const std::string& path, std::chrono::system_clock::time_point modified) {
    const HANDLE file = CreateFileW(windows::wideFromUtf8(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("the file could not be opened to date it");
    // 100-nanosecond intervals since 1601-01-01.
    const auto sinceEpoch =
        std::chrono::duration_cast<std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>>(
            modified.time_since_epoch());
    const auto ticks = static_cast<std::uint64_t>(sinceEpoch.count() + 116'444'736'000'000'000);
    const FILETIME time{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
    const bool dated = SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
    if (!dated) throw std::runtime_error("SetFileTime failed");
}

std::unique_ptr<CapturedOutput> captureOutput() {
    return std::make_unique<PipeOutput>();
}

}  // namespace tessary::update::testing
