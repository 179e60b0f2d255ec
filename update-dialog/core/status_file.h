// Where the status file lies and how its bytes are fetched.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessary::update {

// A status file larger than this is not one the host application writes; it
// is refused rather than read four times a second into memory.
inline constexpr std::size_t maximumStatusFileSize = 1024 * 1024;

// The path as a file URL would hold it: a relative path is taken against the
// current directory at the time of the call.
std::string absoluteFilePath(std::string_view path);

// All bytes of the regular file at `path`, or nothing when it is missing,
// unreadable, not a regular file (a directory, a FIFO, a device) or larger than
// maximumStatusFileSize, or changing while it is read. Never blocks on a FIFO or device.
std::optional<std::string> readWholeFile(const std::string& path);

}  // namespace tessary::update
