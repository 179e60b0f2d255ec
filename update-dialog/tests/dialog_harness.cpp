#include "dialog_harness.h"

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

StatusFolder::StatusFolder() : folder_(newTemporaryFolder()) {}

StatusFolder::~StatusFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

namespace {

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream file(fileSystemPath(path), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

std::string StatusFolder::pathOf(std::string_view name) const {
    return corePath(folder_ / fileSystemPath(name));
}

void StatusFolder::write(std::string_view bytes) const {
    rewriteInPlaceNow(bytes);
    const auto path = fileSystemPath(statusPath());
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::seconds(1));
}

void StatusFolder::rewriteInPlaceNow(std::string_view bytes) const {
    writeFile(statusPath(), bytes);
}

void StatusFolder::renameIntoPlace(std::string_view bytes) const {
    const auto next = pathOf("status.json.next");
    writeFile(next, bytes);
    std::filesystem::rename(fileSystemPath(next), fileSystemPath(statusPath()));
}

void StatusFolder::dateTo(std::chrono::system_clock::time_point modified) const {
    setModificationTime(statusPath(), modified);
}

void StatusFolder::moveAway() const {
    std::filesystem::rename(fileSystemPath(statusPath()),
                            folder_ / ("status.json.moved-" + std::to_string(++movedAway_)));
}

Action StatusFolder::writeStep(std::string bytes) const {
    return Action{[this, bytes = std::move(bytes)] { write(bytes); }};
}

DialogRun runDialog(const std::vector<std::string>& arguments, std::vector<Step> script,
                    const DialogOptions& options) {
    // Unless the test gives one, standard output is a pipe, read straight from
    // its end: only bytes the program flushed itself arrive there.
    std::unique_ptr<CapturedOutput> captured;
    std::FILE* output = options.standardOutput;
    if (!output) {
        captured = captureOutput();
        output = captured->stream();
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
    if (captured) run.standardOutput = captured->flushedBytes();
    return run;
}

DialogRun runDialog(const std::vector<std::string>& arguments, std::vector<Step> script) {
    return runDialog(arguments, std::move(script), DialogOptions{});
}

std::vector<std::string> standardArguments(const StatusFolder& folder, std::string minimumTime) {
    return {folder.statusPath(), "1.4.2", folder.pathOf("no-icon.png"), std::move(minimumTime)};
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
