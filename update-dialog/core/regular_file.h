// Reading a small regular file the host application hands the dialog (the
// status file, the icon) without ever blocking and without tearing. One
// implementation per platform, chosen by the build (platform/<name>/).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tessary::update {

// Which file a path led to: a file renamed into place is another file than
// the one it replaced, even when it holds the same bytes.
// On POSIX systems the device and inode numbers; on Windows the volume's
// serial number and the file index.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct FileContents {
    std::string bytes;
    FileIdentity identity;
    // The file's last data change, taken after the bytes were read.
    std::chrono::system_clock::time_point modified;
};

// The bytes of the regular file at `path`, or nothing when it is missing,
// unreadable, not a regular file (a directory, a FIFO, a device: refused
// without waiting for a writer), larger than `maximumSize`, or changed while it
// was read. The bytes are read twice, and taken only when both reads agree, so
// that a writer truncating and rewriting the file meanwhile cannot join the
// start of one version to the rest of the next. `betweenReads`, when given,
// runs between the two reads (a test rewrites the file there).
std::optional<FileContents> readRegularFile(const std::string& path, std::size_t maximumSize,
                                            const std::function<void()>& betweenReads = nullptr);

}  // namespace tessary::update
