// Paths from the core (UTF-8) for the wide file API.
#pragma once

#include <optional>
#include <string>

namespace tessary::update::windows {

// GetFullPathNameW: `path` taken against the current directory (and drive),
// "." and ".." resolved, "/" turned into "\". Nothing when Windows cannot
// make a full path of it (an empty path, for one).
std::optional<std::wstring> fullPathName(const std::wstring& path);

// `path` as the wide API opens it. A path as long as MAX_PATH or longer is
// made a full path with the \\?\ prefix (\\?\C:\… or \\?\UNC\server\…), which
// lifts that limit whatever the system's long path setting: the host may keep
// its files anywhere. Shorter paths are left as they are.
std::wstring widePath(const std::string& path);

}  // namespace tessary::update::windows
