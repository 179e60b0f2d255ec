// Rewrites a status file in place as fast as it can: truncate, then write the
// next complete version in small chunks (1 to 16 bytes), no rename, so that a
// reader meets every kind of partly written file. At the end it writes one
// last version whole, so the file is left complete. With a pause, each complete
// version stays in place that many microseconds before the next truncation, so
// that most readings find a whole file and the few that do not still tear.
//
// Usage: torn-writer <status file> <seconds> <index of the last version> [pause µs]
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string_view>
#include <thread>

#include "status_versions.h"

namespace tessary::stress {
namespace {

void writeInChunks(int file, std::string_view bytes, std::minstd_rand& random) {
    std::uniform_int_distribution<std::size_t> chunk(1, 16);
    if (ftruncate(file, 0) != 0) std::exit(1);
    for (std::size_t offset = 0; offset < bytes.size();) {
        const std::size_t size = std::min(chunk(random), bytes.size() - offset);
        const ssize_t got = pwrite(file, bytes.data() + offset, size, static_cast<off_t>(offset));
        if (got <= 0) std::exit(1);
        offset += static_cast<std::size_t>(got);
    }
}

int run(const char* path, double seconds, std::size_t last, long pauseMicroseconds) {
    const int file = open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0 || last >= completeVersions.size()) return 1;
    std::minstd_rand random(20261209);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    unsigned long rewrites = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        writeInChunks(file, completeVersions[rewrites % completeVersions.size()], random);
        ++rewrites;
        if (pauseMicroseconds > 0) std::this_thread::sleep_for(std::chrono::microseconds(pauseMicroseconds));
    }
    writeInChunks(file, completeVersions[last], random);
    close(file);
    std::printf("torn-writer: %lu rewrites in %.0f s\n", rewrites, seconds);
    return 0;
}

}  // namespace
}  // namespace tessary::stress

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr,
                     "usage: torn-writer <status file> <seconds> <index of the last version> [pause µs]\n");
        return 2;
    }
    const long pause = argc == 5 ? std::strtol(argv[4], nullptr, 10) : 0;
    return tessary::stress::run(argv[1], std::strtod(argv[2], nullptr), std::strtoul(argv[3], nullptr, 10),
                                pause);
}
