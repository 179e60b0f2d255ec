#include "dialog_harness.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>

#include "core/update_dialog.h"

namespace tessary::update::testing {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool isEventLine(const std::string& line) {
    return line.starts_with("-- ") || line.starts_with("alert.runModal");
}

std::vector<std::string> callsBetween(const std::vector<std::string>& calls,
                                      std::vector<std::string>::const_iterator from,
                                      const std::function<bool(const std::string&)>& isEnd) {
    std::vector<std::string> pass;
    for (auto line = from; line != calls.end() && !isEnd(*line); ++line) pass.push_back(*line);
    return pass;
}

}  // namespace

StatusFolder::StatusFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessary-update-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
}

StatusFolder::~StatusFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void StatusFolder::write(std::string_view bytes) const {
    std::ofstream file(statusPath(), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

Action StatusFolder::writeStep(std::string bytes) const {
    return Action{[this, bytes = std::move(bytes)] { write(bytes); }};
}

DialogRun runDialog(const std::vector<std::string>& arguments, std::vector<Step> script) {
    recording::RecordingToolkit toolkit;
    toolkit.scriptModalLoop(std::move(script));
    const std::unique_ptr<std::FILE, FileCloser> output(std::tmpfile());
    if (!output) throw std::runtime_error("tmpfile failed");

    std::vector<std::string> args{"Tessary Update"};
    args.insert(args.end(), arguments.begin(), arguments.end());

    DialogRun run;
    run.exitStatus = runUpdateDialog(toolkit, std::move(args), output.get());
    std::rewind(output.get());
    char buffer[256];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, output.get())) > 0)
        run.standardOutput.append(buffer, got);
    run.calls = toolkit.calls();
    return run;
}

std::vector<std::string> standardArguments(const StatusFolder& folder, std::string minimumTime) {
    return {folder.statusPath(), "1.4.2", (folder.folder() / "no-icon.png").string(), std::move(minimumTime)};
}

std::string statusJson(std::string_view state, std::string_view extraMembers) {
    std::string json = R"({"checkedAt": 100, "state": ")";
    json.append(state).append("\"");
    if (!extraMembers.empty()) json.append(", ").append(extraMembers);
    return json + "}";
}

std::vector<std::string> firstPassCalls(const std::vector<std::string>& calls) {
    auto start = std::find_if(calls.begin(), calls.end(), [](const std::string& line) {
        return line.starts_with("NSRunLoop.mainRunLoop");
    });
    if (start == calls.end()) return {};
    return callsBetween(calls, start + 1,
                        [](const std::string& line) { return line.starts_with("signal("); });
}

std::vector<std::string> tickCalls(const std::vector<std::string>& calls, int tick) {
    auto line = calls.begin();
    for (int seen = 0; line != calls.end(); ++line) {
        if (*line == "-- timer fires" && ++seen == tick) break;
    }
    if (line == calls.end()) return {};
    return callsBetween(calls, line + 1, isEventLine);
}

}  // namespace tessary::update::testing
