#include "scratch_folder.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace tessary::stress {

ScratchFolder::ScratchFolder() {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                           ? "/dev/shm"
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "tessary-stress-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void rewriteInPlace(const std::string& path, std::string_view bytes) {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) throw std::runtime_error("cannot open " + path);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t got = write(file, bytes.data() + written, bytes.size() - written);
        if (got <= 0) {
            close(file);
            throw std::runtime_error("cannot write " + path);
        }
        written += static_cast<std::size_t>(got);
    }
    close(file);
}

void rewriteSettled(const std::string& path, std::string_view bytes) {
    rewriteInPlace(path, bytes);
    std::filesystem::last_write_time(path,
                                     std::filesystem::file_time_type::clock::now() - std::chrono::seconds(1));
}

}  // namespace tessary::stress
