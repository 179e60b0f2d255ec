// The cost of one refresh pass (read, parse, present on a toolkit that does
// nothing) beside the bare cost of opening and reading the same status file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "backends/null/null_toolkit.h"
#include "core/update_dialog.h"

namespace {

// A typical status file of the host application: 300 bytes, every key the dialog reads and a few it ignores.
constexpr std::string_view typicalStatus =
    R"({"checkedAt":1765267200.125,"state":"downloading","latest":"2.4.0",)"
    R"("message":"Downloading the update from the release servers","downloaded":48234496,)"
    R"("total":125829120,"progress":38.33,"channel":"beta","startedAt":1765267100,)"
    R"("tries":1,"source":"https://updates.example.invalid/tessary/2.4.0/full.zip"})";
static_assert(typicalStatus.size() == 300);

class StatusFile {
public:
    StatusFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessary-bench-XXXXXX").string();
        const int descriptor = mkstemp(pattern.data());
        if (descriptor < 0) std::abort();
        close(descriptor);
        path_ = pattern;
        std::ofstream(path_, std::ios::binary) << typicalStatus;
        // A version the host finished long ago: every pass takes it.
        std::filesystem::last_write_time(path_,
                                         std::filesystem::last_write_time(path_) - std::chrono::seconds(1));
    }
    ~StatusFile() { std::filesystem::remove(path_); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void bareFileRead(benchmark::State& state) {
    const StatusFile file;
    char buffer[512];
    for (auto _ : state) {
        const int descriptor = open(file.path().c_str(), O_RDONLY | O_CLOEXEC);
        const ssize_t got = read(descriptor, buffer, sizeof buffer);
        close(descriptor);
        benchmark::DoNotOptimize(got);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(bareFileRead);

void refreshPass(benchmark::State& state) {
    const StatusFile file;
    tessary::update::null::NullToolkit toolkit([&](const std::function<void()>& fireTimer) {
        for (auto _ : state) fireTimer();
    });
    std::FILE* nowhere = std::fopen("/dev/null", "w");
    {
        tessary::update::UpdateDialog dialog(toolkit, nowhere);
        dialog.run({"Tessary Update", file.path(), "2.3.1", "", "0"});
    }
    std::fclose(nowhere);
}
BENCHMARK(refreshPass);

}  // namespace

BENCHMARK_MAIN();
