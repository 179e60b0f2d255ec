// File sizes as macOS shows them (NSByteCountFormatter's file style), and the
// decimal formatter that stands in for it on Linux.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_count.h"

namespace tessary::update {
namespace {

TEST(ByteCount, ShowsFileSizesInDecimalUnits) {
    const std::vector<std::pair<std::int64_t, std::string>> cases{
        {0, "Zero KB"},
        {1, "1 byte"},
        {2, "2 bytes"},
        {999, "999 bytes"},
        {1000, "1 KB"},
        {1499, "1 KB"},
        {1500, "2 KB"},
        {999'499, "999 KB"},
        {999'500, "1 MB"},  // would round to 1,000 KB
        {1'000'000, "1 MB"},
        {1'500'000, "1.5 MB"},
        {1'049'999, "1 MB"},
        {1'050'000, "1.1 MB"},
        {999'949'999, "999.9 MB"},
        {999'950'000, "1 GB"},
        {2'350'000'000, "2.35 GB"},
        {2'000'000'000, "2 GB"},
        {2'300'000'000, "2.3 GB"},
        {1'005'000'000, "1.01 GB"},
        {1'234'567'890'123, "1.23 TB"},
        {5'000'000'000'000'000, "5 PB"},
        {std::numeric_limits<std::int64_t>::max(), "9.22 EB"},
        {-1, "-1 byte"},
        {-999, "-999 bytes"},
        {-1'500'000, "-1.5 MB"},
        {std::numeric_limits<std::int64_t>::min(), "-9.22 EB"},
    };
    for (const auto& [count, text] : cases) EXPECT_EQ(stringFromByteCount(count), text) << count;
}

}  // namespace
}  // namespace tessary::update
