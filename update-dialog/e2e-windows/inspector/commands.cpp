#include "commands.h"

#include "actions.h"
#include "utf.h"
#include "window_reader.h"

namespace tessary::update::inspector {
namespace {

using nlohmann::json;

json failure(const std::string& why) {
    return {{"ok", false}, {"error", why}};
}

std::vector<HWND> matchingWindows(const Arguments& arguments) {
    std::vector<HWND> windows;
    for (const auto& process : findProcesses(arguments.query)) {
        for (HWND window : topLevelWindowsOf(process.id, arguments.windowClass)) windows.push_back(window);
    }
    return windows;
}

json listProcesses(const Arguments& arguments) {
    json processes = json::array();
    for (const auto& process : findProcesses(arguments.query)) {
        processes.push_back({{"processId", process.id},
                             {"executable", utf8FromWide(process.executableName)},
                             {"commandLine", utf8FromWide(process.commandLine)}});
    }
    return {{"ok", true}, {"processes", std::move(processes)}};
}

json listWindows(const Arguments& arguments) {
    json windows = json::array();
    for (HWND window : matchingWindows(arguments)) windows.push_back(describeWindow(window));
    return {{"ok", true}, {"windows", std::move(windows)}};
}

// The first visible matching window, else the first at all.
HWND targetWindow(const Arguments& arguments) {
    const auto windows = matchingWindows(arguments);
    for (HWND window : windows) {
        if (IsWindowVisible(window)) return window;
    }
    return windows.empty() ? nullptr : windows.front();
}

json press(const Arguments& arguments) {
    if (!arguments.controlId && !arguments.controlText) return failure("press needs --id or --text");
    HWND window = targetWindow(arguments);
    if (window == nullptr) return failure("no such window");
    HWND button = findButton(window, arguments.controlId, arguments.controlText);
    if (button == nullptr) return failure("no such button");
    return pressButton(button);
}

json minimize(const Arguments& arguments) {
    HWND window = targetWindow(arguments);
    if (window == nullptr) return failure("no such window");
    return minimizeWindow(window);
}

}  // namespace

json runCommand(const Arguments& arguments) {
    const bool queried = !arguments.query.commandLineContains.empty() ||
                         !arguments.query.executableName.empty() || arguments.query.processId != 0;
    if (!queried) return failure("name the process with --command-line, --exe or --pid");
    if (arguments.command == L"windows") return listWindows(arguments);
    if (arguments.command == L"processes") return listProcesses(arguments);
    if (arguments.command == L"press") return press(arguments);
    if (arguments.command == L"minimize") return minimize(arguments);
    return failure("unknown command " + utf8FromWide(arguments.command));
}

}  // namespace tessary::update::inspector
