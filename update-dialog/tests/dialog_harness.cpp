#include "dialog_harness.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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

namespace {

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

void StatusFolder::write(std::string_view bytes) const {
    rewriteInPlaceNow(bytes);
    const auto path = statusPath();
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::seconds(1));
}

void StatusFolder::rewriteInPlaceNow(std::string_view bytes) const {
    writeFile(statusPath(), bytes);
}

void StatusFolder::renameIntoPlace(std::string_view bytes) const {
    const auto next = (folder_ / "status.json.next").string();
    writeFile(next, bytes);
    std::filesystem::rename(next, statusPath());
}

void StatusFolder::dateTo(std::chrono::system_clock::time_point modified) const {
    std::filesystem::last_write_time(statusPath(), std::chrono::file_clock::from_sys(modified));
}

void StatusFolder::moveAway() const {
    std::filesystem::rename(statusPath(), folder_ / ("status.json.moved-" + std::to_string(++movedAway_)));
}

Action StatusFolder::writeStep(std::string bytes) const {
    return Action{[this, bytes = std::move(bytes)] { write(bytes); }};
}

DialogRun runDialog(const std::vector<std::string>& arguments, std::vector<Step> script,
                    const DialogOptions& options) {
    // Unless the test gives one, standard output is a pipe, read straight from
    // its descriptor: only bytes the program flushed itself arrive there.
    std::unique_ptr<std::FILE, FileCloser> pipeOutput;
    int readEnd = -1;
    std::FILE* output = options.standardOutput;
    if (!output) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
        pipeOutput.reset(fdopen(pipeEnds[1], "w"));
        if (!pipeOutput) throw std::runtime_error("fdopen failed");
        fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
        readEnd = pipeEnds[0];
        output = pipeOutput.get();
    }

    recording::RecordingToolkit toolkit;
    toolkit.scriptModalLoop(std::move(script));
    std::vector<std::string> args{"Tessary Update"};
    args.insert(args.end(), arguments.begin(), arguments.end());

    DialogRun run;
    UpdateDialog dialog(toolkit, output,
                        options.clock ? options.clock : UpdateDialog::Clock(std::chrono::system_clock::now));
    run.exitStatus = dialog.run(std::move(args));
    run.calls = toolkit.calls();
    if (readEnd >= 0) {
        char buffer[256];
        ssize_t got = 0;
        while ((got = read(readEnd, buffer, sizeof buffer)) > 0)
            run.standardOutput.append(buffer, static_cast<std::size_t>(got));
        close(readEnd);
    }
    return run;
}

DialogRun runDialog(const std::vector<std::string>& arguments, std::vector<Step> script) {
    return runDialog(arguments, std::move(script), DialogOptions{});
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
