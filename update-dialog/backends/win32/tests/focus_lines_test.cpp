// Focus requests in what the host writes: only whole lines "focus", however
// the bytes arrive, and nothing kept of a line that cannot be one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "focus_lines.h"

namespace tessary::update::win32 {
namespace {

TEST(FocusLines, CountsOnlyWholeFocusLines) {
    struct Case {
        std::vector<std::string> pieces;
        std::size_t requests;
    };
    const std::vector<Case> cases{
        {{"focus\n"}, 1},
        {{"focus\r\n"}, 1},
        {{"focus\nfocus\n"}, 2},
        {{"fo", "cus", "\n"}, 1},
        {{"focus\r", "\n"}, 1},
        {{"focus"}, 0},  // not ended
        {{"Focus\n", "focus \n", " focus\n", "focusfocus\n", "focus\r\r\n", "\n"}, 0},
        {{std::string(1'000'000, 'a') + "focus\n"}, 0},
        {{std::string(1'000'000, 'a'), "\nfocus\n"}, 1},
        {{"focus\n", std::string(10, 'x'), "focus\n"}, 1},
    };
    for (const Case& c : cases) {
        FocusLines lines;
        std::size_t requests = 0;
        std::string all;
        for (const std::string& piece : c.pieces) {
            requests += lines.take(piece);
            all += piece.substr(0, 40);
        }
        EXPECT_EQ(requests, c.requests) << all;
    }
}

}  // namespace
}  // namespace tessary::update::win32
