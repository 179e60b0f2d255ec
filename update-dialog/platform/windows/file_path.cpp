#include "core/file_path.h"

#include "wide_path.h"
#include "wide_text.h"

namespace tessary::update {

// Windows' own rules for what a path is relative to (C:\x and \\server\x are
// full paths, \x is taken against the current drive, x and C:x against the
// current directory), applied once at the start: the status file stays the
// same file whatever happens to the current directory later.
std::string absoluteFilePath(std::string_view path) {
    // An empty path names the current directory itself, never readable as a file.
    const std::wstring wide = path.empty() ? std::wstring(L".\\") : windows::wideFromUtf8(path);
    const auto full = windows::fullPathName(wide);
    return full ? windows::utf8FromWide(*full) : std::string(path);
}

}  // namespace tessary::update
