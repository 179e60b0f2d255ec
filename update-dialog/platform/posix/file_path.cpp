#include "core/file_path.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

namespace tessary::update {
namespace {

std::string currentDirectory() {
    std::vector<char> buffer(PATH_MAX);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

}  // namespace

std::string absoluteFilePath(std::string_view path) {
    if (!path.empty() && path.front() == '/') return std::string(path);
    std::string directory = currentDirectory();
    if (directory.empty()) return std::string(path);  // no current directory: keep it relative
    if (directory.back() != '/') directory += '/';
    return directory.append(path);
}

}  // namespace tessary::update
