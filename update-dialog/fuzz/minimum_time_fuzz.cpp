// Fuzzes the reading of the minimum time against an independent reading: the
// C library's own strtod under the "C" locale, with the refusals of the
// command line (empty, leading white space, anything left unconverted). The
// process runs under a locale whose decimal separator is the comma, so a
// reading that followed the process locale would differ.
#include <locale.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/minimum_time.h"

namespace tessary::update::fuzz {
namespace {

class PosixLocaleInThisThread {
public:
    PosixLocaleInThisThread() : posix_(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {
        if (posix_ == static_cast<locale_t>(nullptr)) std::abort();
        previous_ = uselocale(posix_);
    }
    ~PosixLocaleInThisThread() {
        uselocale(previous_);
        freelocale(posix_);
    }
    PosixLocaleInThisThread(const PosixLocaleInThisThread&) = delete;
    PosixLocaleInThisThread& operator=(const PosixLocaleInThisThread&) = delete;

private:
    locale_t posix_;
    locale_t previous_;
};

double oracle(std::string_view text) {
    if (text.empty() || std::strchr("\t\n\v\f\r ", text.front()) != nullptr) return 0.0;
    const std::string terminated(text);
    const PosixLocaleInThisThread posix;
    char* end = nullptr;
    const double value = std::strtod(terminated.c_str(), &end);
    return end == terminated.c_str() + terminated.size() ? value : 0.0;
}

std::uint64_t bits(double value) {
    std::uint64_t pattern;
    std::memcpy(&pattern, &value, sizeof pattern);
    return pattern;
}

}  // namespace
}  // namespace tessary::update::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Not every machine has it; the comparison holds under any locale.
    setlocale(LC_ALL, "de_DE.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessary::update::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double got = tessary::update::readMinimumTime(text);
    const double wanted = oracle(text);
    if (bits(got) != bits(wanted) && !(std::isnan(got) && std::isnan(wanted))) {
        std::fprintf(stderr, "minimum time %a, the C library reads %a\n", got, wanted);
        std::abort();
    }
    return 0;
}
