// The focus requests in what the host writes to standard input: each line
// "focus", ended by a line feed (or by a carriage return and a line feed).
// Every other line is ignored whatever its length, and only a few bytes of a
// line are ever kept.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessary::update::win32 {

class FocusLines {
public:
    // Takes the next bytes of the input; returns how many focus lines they ended.
    std::size_t take(std::string_view bytes);

private:
    std::string line_;      // the start of the current line, as far as it could still be "focus\r"
    bool tooLong_ = false;  // the current line is longer than that: whatever it holds, it is no request
};

}  // namespace tessary::update::win32
