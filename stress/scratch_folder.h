// A private temporary folder for a status file, removed when done. Memory-backed
// when the machine has /dev/shm: on a disk file system a truncated and rewritten
// file may be flushed on close, and that wait would be measured instead of the dialog.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tessary::stress {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(std::string_view name) const { return (folder_ / name).string(); }

private:
    std::filesystem::path folder_;
};

// Replaces the contents of `path` in place: truncates it, then writes `bytes`.
void rewriteInPlace(const std::string& path, std::string_view bytes);

// The same, dated a second back: a version the host finished long ago, which
// the dialog takes at once rather than waiting for it to settle.
void rewriteSettled(const std::string& path, std::string_view bytes);

}  // namespace tessary::stress
