// Checks the UTF-8 decoding that Foundation strings are made from, on the build machine (it is plain
// C++): run by the macOS cross-build script and, on a Mac, by CTest.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "utf16_from_utf8.h"

namespace {

// Characters whose UTF-8 form would run into a following letter as a hex escape.
const std::string byteOrderMark = "\xEF\xBB\xBF";   // U+FEFF
const std::string zeroWidthSpace = "\xE2\x80\x8B";  // U+200B
const std::string softHyphen = "\xC2\xAD";          // U+00AD

struct Case {
    const char* name;
    std::string utf8;
    std::optional<std::u16string> utf16;  // nothing: not well-formed
};

const std::vector<Case> cases{
    {"empty", "", u""},
    {"ASCII", "available", u"available"},
    {"NUL inside", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    // Default-ignorable characters are characters: none is dropped, wherever it stands.
    {"leading U+FEFF", byteOrderMark + "available", u"\uFEFFavailable"},
    {"two leading U+FEFF", byteOrderMark + byteOrderMark + "a", u"\uFEFF\uFEFFa"},
    {"trailing U+FEFF", "available" + byteOrderMark, u"available\uFEFF"},
    {"U+200B", zeroWidthSpace + "checking" + zeroWidthSpace, u"\u200Bchecking\u200B"},
    {"U+00AD inside", "avail" + softHyphen + "able", u"avail\u00ADable"},
    {"U+2026 and U+2019", "couldn\xE2\x80\x99t\xE2\x80\xA6", u"couldn\u2019t\u2026"},
    {"last of the BMP", "\xEF\xBF\xBF", u"\uFFFF"},
    {"U+1F600 as a surrogate pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
    {"U+10FFFF", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    {"U+E0001, a tag", "\xF3\xA0\x80\x81", u"\U000E0001"},
    {"never a lead byte", std::string("a\xFF") + "b", std::nullopt},
    {"stray continuation", "\x80", std::nullopt},
    {"overlong /", "\xC0\xAF", std::nullopt},
    {"overlong, three bytes", "\xE0\x80\xAF", std::nullopt},
    {"a surrogate", "\xED\xA0\x80", std::nullopt},
    {"above U+10FFFF", "\xF4\x90\x80\x80", std::nullopt},
    {"truncated at the end", "\xE2\x80", std::nullopt},
    {"truncated in the middle", "\xE2\x80x", std::nullopt},
};

}  // namespace

int main() {
    int failures = 0;
    for (const Case& test : cases) {
        if (tessary::update::appkit::utf16FromUtf8(test.utf8) == test.utf16) continue;
        ++failures;
        std::fprintf(stderr, "utf16FromUtf8: %s decoded wrongly\n", test.name);
    }
    if (failures == 0) std::puts("utf16_from_utf8_test: all passed");
    return failures == 0 ? 0 : 1;
}
