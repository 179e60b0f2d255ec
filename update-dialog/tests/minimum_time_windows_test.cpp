// The fourth argument on Windows: read by the same rules under a locale whose
// decimal separator is the comma, as the C library's own strtod would not.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "core/minimum_time.h"

namespace tessary::update {
namespace {

TEST(MinimumTime, TheDecimalSeparatorIsAFullStopWhateverTheWindowsLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "German_Germany.1252") == nullptr) GTEST_SKIP() << "no German locale";
    const double localReading = std::strtod("2,5", nullptr);
    const double full = readMinimumTime("2.5");
    const double comma = readMinimumTime("2,5");
    const double hexadecimal = readMinimumTime("0x1.8p1");
    std::setlocale(LC_ALL, saved.c_str());

    ASSERT_EQ(localReading, 2.5) << "the German locale is not in effect";
    EXPECT_EQ(full, 2.5);
    EXPECT_EQ(comma, 0);
    EXPECT_EQ(hexadecimal, 3);
}

}  // namespace
}  // namespace tessary::update
