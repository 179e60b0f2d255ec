// The tests' helpers on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

#include "dialog_harness.h"

namespace tessary::update::testing {
namespace {

// A pipe: the stream writes into one end, the test reads the other without waiting.
class PipeOutput final : public CapturedOutput {
public:
    PipeOutput() {
        int ends[2];
        if (pipe(ends) != 0) throw std::runtime_error("pipe failed");
        readEnd_ = ends[0];
        fcntl(readEnd_, F_SETFL, O_NONBLOCK);
        stream_ = fdopen(ends[1], "w");
        if (!stream_) throw std::runtime_error("fdopen failed");
    }
    ~PipeOutput() override {
        std::fclose(stream_);
        close(readEnd_);
    }
    PipeOutput(const PipeOutput&) = delete;
    PipeOutput& operator=(const PipeOutput&) = delete;

    std::FILE* stream() override { return stream_; }
    std::string flushedBytes() override {
        std::string bytes;
        char buffer[256];
        ssize_t got = 0;
        while ((got = read(readEnd_, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, static_cast<std::size_t>(got));
        return bytes;
    }

private:
    int readEnd_ = -1;
    std::FILE* stream_ = nullptr;
};

}  // namespace

const std::string_view unusualFileName = "ic\xf4ne \xff.png";

WaitingSpecialFile::WaitingSpecialFile(const StatusFolder& folder) : path_(folder.pathOf("icon.fifo")) {
    if (mkfifo(path_.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
}

WaitingSpecialFile::~WaitingSpecialFile() {
    unlink(path_.c_str());
}

std::filesystem::path newTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessary-update-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

std::string corePath(const std::filesystem::path& path) {
    return path.string();
}

std::filesystem::path fileSystemPath(std::string_view corePath) {
    return std::filesystem::path(std::string(corePath));
}

void setModificationTime(const std::string& path, std::chrono::system_clock::time_point modified) {
    std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(modified));
}

std::unique_ptr<CapturedOutput> captureOutput() {
    return std::make_unique<PipeOutput>();
}

}  // namespace tessary::update::testing
