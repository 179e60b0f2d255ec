#include "focus_lines.h"

namespace tessary::update::win32 {
namespace {

constexpr std::string_view request = "focus";

}  // namespace

std::size_t FocusLines::take(std::string_view bytes) {
    std::size_t requests = 0;
    for (const char byte : bytes) {
        if (byte == '\n') {
            const bool focus = !tooLong_ && (line_ == request || line_ == std::string(request) + '\r');
            if (focus) ++requests;
            line_.clear();
            tooLong_ = false;
        } else if (!tooLong_) {
            if (line_.size() > request.size()) {
                tooLong_ = true;
                line_.clear();
            } else {
                line_ += byte;
            }
        }
    }
    return requests;
}

}  // namespace tessary::update::win32
