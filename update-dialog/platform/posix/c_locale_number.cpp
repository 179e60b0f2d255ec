#include "core/c_locale_number.h"

#include <clocale>
#include <cstdlib>
#include <memory>
#include <type_traits>

#if __has_include(<xlocale.h>)
#include <xlocale.h>  // strtod_l on Apple platforms
#endif

namespace tessary::update {
namespace {

struct LocaleDeleter {
    void operator()(std::remove_pointer_t<locale_t>* locale) const { freelocale(locale); }
};
using OwnedLocale = std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter>;

}  // namespace

std::optional<double> wholeNumberInCLocale(const std::string& text) {
    const OwnedLocale posix(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr)));
    if (!posix) return std::nullopt;

    char* end = nullptr;
    const double value = strtod_l(text.c_str(), &end, posix.get());
    const bool consumedAll = end == text.c_str() + text.size() && end != text.c_str();
    if (!consumedAll) return std::nullopt;
    return value;
}

}  // namespace tessary::update
