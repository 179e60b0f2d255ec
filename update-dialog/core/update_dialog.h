// The update dialog program: its run sequence and the state it keeps.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit.h"

namespace tessary::update {

class UpdateDialog {
public:
    // The time against which the age of the status file is judged.
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    // The install request goes to `standardOutput`. A test may give a clock of its own.
    UpdateDialog(Toolkit& toolkit, std::FILE* standardOutput, Clock clock = std::chrono::system_clock::now);
    ~UpdateDialog();
    UpdateDialog(const UpdateDialog&) = delete;
    UpdateDialog& operator=(const UpdateDialog&) = delete;

    // Runs the whole program once: `arguments` is the process's argument list
    // with the program path first. Returns the exit status: 2 for a short
    // command line, 1 when the user confirmed an install whose request could
    // not be written and flushed whole, 0 otherwise. Every toolkit object it made stays in place
    // until the UpdateDialog is destroyed: the program ends the process with
    // that status without destroying it, so nothing is released, cancelled or
    // invalidated after the timer stops.
    int run(std::vector<std::string> arguments);

private:
    struct Program;
    std::unique_ptr<Program> program_;
};

}  // namespace tessary::update
