#include "minimum_time.h"

#include <clocale>
#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>

#if __has_include(<xlocale.h>)
#include <xlocale.h>  // strtod_l on Apple platforms
#endif

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

struct LocaleDeleter {
    void operator()(std::remove_pointer_t<locale_t>* locale) const { freelocale(locale); }
};
using OwnedLocale = std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter>;

}  // namespace

double readMinimumTime(std::string_view text) {
    if (text.empty() || startsWithWhiteSpace(text)) return 0.0;

    // A command-line text holds no NUL; anything after one could not have
    // reached us, so a text that holds one is refused like any leftover.
    const std::string terminated(text);
    if (terminated.size() != std::char_traits<char>::length(terminated.c_str())) return 0.0;

    const OwnedLocale posix(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr)));
    if (!posix) return 0.0;

    char* end = nullptr;
    const double value = strtod_l(terminated.c_str(), &end, posix.get());
    const bool consumedAll = end == terminated.c_str() + terminated.size() && end != terminated.c_str();
    return consumedAll ? value : 0.0;
}

}  // namespace tessary::update
