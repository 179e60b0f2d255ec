// The inspector's command line, the same for a one-shot run and for each
// request of `serve`: a command, then options.
//
//   windows   [query]                   the matching processes' top-level windows and their controls
//   processes [query]                   the matching processes and their command lines
//   press     [query] (--id N | --text T)   presses a visible button (BM_CLICK)
//   minimize  [query]                   minimizes the window
//   cover     [--title T] [--rect x,y,w,h] [--seconds N]   shows a window of its own in front
//   serve                               answers one request per line of standard input
//
// query: --command-line SUBSTRING, --exe NAME, --pid WINE-PID, --class WINDOW-CLASS
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "process_finder.h"

namespace tessary::update::inspector {

struct CoverOptions {
    std::wstring title = L"Tessary Inspector Cover";
    int x = 0, y = 0, width = 900, height = 650;
    unsigned seconds = 120;
};

struct Arguments {
    std::wstring command;
    ProcessQuery query;
    std::wstring windowClass;
    std::optional<int> controlId;
    std::optional<std::wstring> controlText;
    CoverOptions cover;
};

struct ArgumentError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws ArgumentError for an unknown option or a missing value.
Arguments parseArguments(const std::vector<std::wstring>& words);

}  // namespace tessary::update::inspector
