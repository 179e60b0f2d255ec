// tessary-inspector: reads and presses the windows of another Win32 program
// for the end-to-end tests under Wine (see arguments.h for its commands).
#include <windows.h>

#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "cover_window.h"
#include "output.h"
#include "serve.h"

using namespace tessary::update::inspector;

int wmain(int argc, wchar_t** argv) {
    // Rectangles in the pixels of the screen, whatever the DPI.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const std::vector<std::wstring> words(argv + 1, argv + argc);
    if (!words.empty() && words[0] == L"serve") return serveRequests();
    try {
        const Arguments arguments = parseArguments(words);
        if (arguments.command == L"cover") return runCoverWindow(arguments.cover);
        const auto answer = runCommand(arguments);
        writeLine(answer);
        return answer.value("ok", false) ? 0 : 1;
    } catch (const ArgumentError& error) {
        writeLine({{"ok", false}, {"error", error.what()}});
        return 2;
    }
}
