// Fuzzes the dialog with arbitrary bytes as its status file: the whole program
// runs on the recording toolkit (first pass, one timer tick, then the first
// button), and what it shows and writes must match what the file allows.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "backends/recording/recording_toolkit.h"
#include "core/update_dialog.h"
#include "dialog_checks.h"
#include "expected_look.h"
#include "scratch_file.h"

namespace tessary::update::fuzz {
namespace {

constexpr std::string_view installRequest = "{\"action\":\"install\"}\n";
constexpr double minimumTime = 100;

void runOne(std::string_view bytes) {
    static const ScratchFile statusFile("tessary-status-fuzz");  // one file for the whole run
    statusFile.replace(bytes);

    recording::RecordingToolkit toolkit;
    toolkit.scriptModalLoop({recording::TimerTick{}, recording::Press{1}});
    MemoryStream output;
    UpdateDialog dialog(toolkit, output.get());
    const int status =
        dialog.run({"Tessary Update", statusFile.path(), "1.4.2", "/nonexistent/icon.png", "100"});

    const auto look = expectedLook(bytes, minimumTime, "1.4.2");
    require(status == 0, "exit status is 0");
    require(output.text() == (look && look->offer ? installRequest : std::string_view()),
            "the install request appears exactly when an offer was accepted");
    checkPasses(toolkit.calls(), look);
}

}  // namespace
}  // namespace tessary::update::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tessary::update::fuzz::runOne(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
