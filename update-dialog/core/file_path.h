// Where the status file lies. One implementation per platform, chosen by the
// build (platform/<name>/): what counts as an absolute path differs.
#pragma once

#include <string>
#include <string_view>

namespace tessary::update {

// The path as a file URL would hold it: a relative path is taken against the
// current directory at the time of the call.
std::string absoluteFilePath(std::string_view path);

}  // namespace tessary::update
