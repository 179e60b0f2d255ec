// File sizes as Windows shows them: the shell's own formatter, and what the
// dialog adds to it (negative counts, the largest magnitudes, UTF-8).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_count.h"

namespace tessary::update {
namespace {

bool userFormatsAsUnitedStatesEnglish() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    return GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) > 0 && std::wstring(name) == L"en-US";
}

// Binary units, three significant digits with the undisplayed ones cut off.
TEST(ByteCount, ShowsFileSizesAsWindowsDoes) {
    if (!userFormatsAsUnitedStatesEnglish())
        GTEST_SKIP() << "the words and separators are the user's language's";
    const std::vector<std::pair<std::int64_t, std::string>> cases{
        {0, "0 bytes"},         {999, "999 bytes"},         {1023, "1023 bytes"}, {1024, "1.00 KB"},
        {1500, "1.46 KB"},      {1536, "1.50 KB"},          {10'240, "10.0 KB"},  {1'048'575, "0.99 MB"},
        {1'048'576, "1.00 MB"}, {2'350'000'000, "2.18 GB"}, {-1500, "-1.46 KB"},
    };
    for (const auto& [count, text] : cases) EXPECT_EQ(stringFromByteCount(count), text) << count;
}

// Windows shows no negative sizes: the magnitude follows a minus sign, for
// every count, the most negative one included.
TEST(ByteCount, ANegativeCountIsItsMagnitudeAfterAMinusSign) {
    for (const std::int64_t count : {std::int64_t{1}, std::int64_t{1500}, std::int64_t{5'000'000'000},
                                     std::numeric_limits<std::int64_t>::max()}) {
        EXPECT_EQ(stringFromByteCount(-count), "-" + stringFromByteCount(count)) << count;
    }
    const std::string smallest = stringFromByteCount(std::numeric_limits<std::int64_t>::min());
    ASSERT_FALSE(smallest.empty());
    EXPECT_EQ(smallest.front(), '-');
    EXPECT_NE(smallest.find("EB"), std::string::npos) << smallest;
}

}  // namespace
}  // namespace tessary::update
