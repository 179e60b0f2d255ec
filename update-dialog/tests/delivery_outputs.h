// Standard outputs on which an install request can or cannot be delivered,
// made as each system makes them (delivery_outputs_<system>.cpp).
#pragma once

#include <cstdio>
#include <memory>

#include "dialog_harness.h"

namespace tessary::update::testing {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

enum class Output {
    readerGone,     // a pipe whose reader has gone, as when the host crashed
    refusesWrites,  // a stream that takes no bytes: a full disk, or a file open for reading only
    nullDevice,     // the null device, on which a closed standard output is opened at start
};

File openOutput(Output output, const StatusFolder& folder);

}  // namespace tessary::update::testing
