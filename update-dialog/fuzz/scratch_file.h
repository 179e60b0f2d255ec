// Files the fuzz targets hand to the program under test: a status file in a
// private temporary folder, and a memory buffer standing in for standard output.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace tessary::update::fuzz {

class ScratchFile {
public:
    explicit ScratchFile(std::string_view prefix);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }
    // Truncates the file and writes `bytes`, dated as written a second ago.
    void replace(std::string_view bytes) const;

private:
    std::filesystem::path folder_;
    std::string path_;
};

class MemoryStream {
public:
    MemoryStream();
    ~MemoryStream();
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    std::FILE* get() const { return stream_; }
    std::string_view text();  // everything written so far

private:
    char* buffer_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* stream_ = nullptr;
};

}  // namespace tessary::update::fuzz
