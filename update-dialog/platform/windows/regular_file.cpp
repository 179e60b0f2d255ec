#include "core/regular_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "wide_path.h"

namespace tessary::update {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { close(); }
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
    void close() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

// The file's bytes from its start, asking for one byte more than `size`: a
// short read is the end of the file, a full one means a writer is growing it.
std::optional<std::string> readFromStart(HANDLE file, std::size_t size) {
    std::string bytes(size + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        // Positioned reads, as pread: each starts where the last one ended.
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(got & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(got) >> 32);
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - got, 1 << 30));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data() + got, wanted, &read, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            return std::nullopt;
        }
        if (read == 0) break;
        got += read;
    }
    if (got > size) return std::nullopt;
    bytes.resize(got);
    return bytes;
}

std::chrono::system_clock::time_point timePoint(FILETIME time) {
    // 100-nanosecond intervals since 1601-01-01, and the seconds from then to 1970-01-01.
    using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
    constexpr std::int64_t ticksTo1970 = 116'444'736'000'000'000;
    const std::int64_t ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(Ticks(ticks - ticksTo1970)));
}

}  // namespace

std::optional<FileContents> readRegularFile(const std::string& path, std::size_t maximumSize,
                                            const std::function<void()>& betweenReads) {
    // Every share flag: a host writing, renaming or deleting the file meanwhile
    // is never refused because the dialog is reading it. Opening a pipe or a
    // device never waits; only reading one could, and neither is read.
    FileHandle file(CreateFileW(windows::widePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || GetFileType(file.get()) != FILE_TYPE_DISK) return std::nullopt;

    BY_HANDLE_FILE_INFORMATION before{};
    if (!GetFileInformationByHandle(file.get(), &before)) return std::nullopt;
    if (before.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
    const std::uint64_t fileSize =
        (static_cast<std::uint64_t>(before.nFileSizeHigh) << 32) | before.nFileSizeLow;
    if (fileSize > maximumSize) return std::nullopt;
    const auto size = static_cast<std::size_t>(fileSize);

    auto bytes = readFromStart(file.get(), size);
    if (!bytes) return std::nullopt;
    if (betweenReads) betweenReads();
    if (readFromStart(file.get(), size) != bytes) return std::nullopt;

    // Taken after the reads, so that the time covers every write they could have met.
    BY_HANDLE_FILE_INFORMATION after{};
    const bool known = GetFileInformationByHandle(file.get(), &after);
    // As briefly open as can be: while it is, a host's rename over the file fails.
    file.close();
    if (!known) return std::nullopt;
    return FileContents{std::move(*bytes),
                        {after.dwVolumeSerialNumber,
                         (static_cast<std::uint64_t>(after.nFileIndexHigh) << 32) | after.nFileIndexLow},
                        timePoint(after.ftLastWriteTime)};
}

}  // namespace tessary::update
