#include "minimum_time.h"

#include <string>

#include "c_locale_number.h"

namespace tessary::update {
namespace {

bool startsWithWhiteSpace(std::string_view text) {
    switch (text.front()) {
        case '\t':
        case '\n':
        case '\v':
        case '\f':
        case '\r':
        case ' ':
            return true;
        default:
            return false;
    }
}

}  // namespace

double readMinimumTime(std::string_view text) {
    if (text.empty() || startsWithWhiteSpace(text)) return 0.0;

    // A command-line text holds no NUL; anything after one could not have
    // reached us, so a text that holds one is refused like any leftover.
    const std::string terminated(text);
    if (terminated.size() != std::char_traits<char>::length(terminated.c_str())) return 0.0;

    return wholeNumberInCLocale(terminated).value_or(0.0);
}

}  // namespace tessary::update
