// How much of a host's text the dialog shows: short texts as they stand, long
// ones cut at a character boundary and closed with an ellipsis.
#include <gtest/gtest.h>

#include <string>

#include "core/text_bounds.h"

namespace tessary::update {
namespace {

std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) text.append(piece);
    return text;
}

struct CutCase {
    const char* name;
    std::string text;
    TextBounds bounds;
    std::string shown;
};

class BoundedText : public ::testing::TestWithParam<CutCase> {};

TEST_P(BoundedText, ShowsWhatFitsAndMarksTheCut) {
    const CutCase& c = GetParam();
    EXPECT_EQ(boundedText(c.text, c.bounds), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoundedText,
    ::testing::Values(CutCase{"Empty", "", {5, 2}, ""},
                      CutCase{"ShortAsItStands", "Disk full", {20, 2}, "Disk full"},
                      CutCase{"ExactlyAtTheCharacterBound", "abcde", {5, 1}, "abcde"},
                      CutCase{"OneCharacterOver", "abcdef", {5, 1}, "abcd…"},
                      CutCase{"OneCharacterBound", "ab", {1, 1}, "…"},
                      // Multi-byte characters count once and are never split.
                      CutCase{"TwoByteCharacters", "ééééé", {4, 1}, "ééé…"},
                      CutCase{"ThreeByteCharacters", "€€€€€", {3, 1}, "€€…"},
                      CutCase{"FourByteCharacters", "😀😀😀😀", {3, 1}, "😀😀…"},
                      CutCase{"CombiningMarksCountEach", "a\u0301\u0301\u0301\u0301", {3, 1}, "a\u0301…"},
                      // Bytes that start no valid sequence count as one character each.
                      CutCase{"StrayContinuationBytes", "\x80\x80\x80\x80\x80", {3, 1}, "\x80\x80…"},
                      CutCase{"TruncatedSequenceIsNotGluedToItsNeighbour",
                              "\xE2\x82"
                              "abc",
                              {3, 1},
                              "\xE2\x82…"},
                      CutCase{"SurrogateBytesAreInvalid", "\xED\xA0\x80xyz", {3, 1}, "\xED\xA0…"},
                      CutCase{"OverlongBytesAreInvalid", "\xC0\xAFxyz", {3, 1}, "\xC0\xAF…"},
                      // Lines.
                      CutCase{"ExactlyAtTheLineBound", "one\ntwo", {100, 2}, "one\ntwo"},
                      CutCase{"OneLineOver", "one\ntwo\nthree", {100, 2}, "one\ntwo…"},
                      CutCase{"VersionIsOneLine", "2.0.0\nrm -rf", {100, 1}, "2.0.0…"},
                      CutCase{
                          "CarriageReturnLineFeedIsOneBreak", "one\r\ntwo\r\nthree", {100, 2}, "one\r\ntwo…"},
                      CutCase{"LoneCarriageReturn", "one\rtwo", {100, 1}, "one…"},
                      CutCase{"LineSeparator", "one\u2028two", {100, 1}, "one…"},
                      CutCase{"ParagraphSeparator", "one\u2029two", {100, 1}, "one…"},
                      CutCase{"NextLine", "one\u0085two", {100, 1}, "one…"},
                      CutCase{"VerticalTab", "one\vtwo\vthree", {100, 2}, "one\vtwo…"},
                      CutCase{"FormFeed", "one\ftwo\fthree", {100, 2}, "one\ftwo…"},
                      CutCase{"EmptyLinesCount", "\n\n\nx", {100, 3}, "\n\n…"},
                      CutCase{"TheEarlierBoundWins", "abcdef\nx", {4, 2}, "abc…"},
                      CutCase{"LineBreakCountsAsACharacter", "ab\ncd", {4, 5}, "ab\n…"},
                      // White space alone after the cut is dropped without an ellipsis.
                      CutCase{"TrailingLineBreaks", "one\ntwo\n\n\n", {100, 2}, "one\ntwo"},
                      CutCase{"TrailingSpaces", "abc      ", {5, 1}, "abc "},
                      CutCase{"SpacesThenText", "abc    x", {5, 1}, "abc …"}),
    [](const ::testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

// The texts a host really produces must be shown whole.
TEST(BoundedTextRealistic, AShortStackTraceIsShownWhole) {
    const std::string trace =
        "ENOSPC: no space left on device, write\n"
        "Error: ENOSPC: no space left on device, write\n"
        "    at Object.writeSync (node:fs:927:3)\n"
        "    at Object.writeFileSync (node:fs:2306:26)\n"
        "    at Updater.stage "
        "(/Applications/Tessary.app/Contents/Resources/app.asar/updater/stage.js:88:12)\n"
        "    at Updater.extract "
        "(/Applications/Tessary.app/Contents/Resources/app.asar/updater/extract.js:41:18)\n"
        "    at async Updater.run "
        "(/Applications/Tessary.app/Contents/Resources/app.asar/updater/index.js:203:7)\n"
        "    at async Promise.all (index 0)\n"
        "    at async UpdateService.check "
        "(/Applications/Tessary.app/Contents/Resources/app.asar/main.js:1204:5)\n"
        "    at async Timeout._onTimeout "
        "(/Applications/Tessary.app/Contents/Resources/app.asar/main.js:77:3)\n"
        "    at process.processTimers (node:internal/timers:512:7)\n"
        "    at listOnTimeout (node:internal/timers:569:17)\n";
    EXPECT_EQ(boundedText(trace, messageBounds), trace);
    const std::string version =
        "1.5.0-beta.20261209+build.9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";
    EXPECT_EQ(boundedText(version, versionBounds), version);
}

// Whatever the host writes, what is shown stays within the bounds.
struct PathologicalCase {
    const char* name;
    std::string text;
};

class BoundedTextPathological : public ::testing::TestWithParam<PathologicalCase> {};

TEST_P(BoundedTextPathological, StaysWithinTheBounds) {
    const std::string& text = GetParam().text;
    for (const TextBounds bounds : {messageBounds, versionBounds}) {
        const std::string shown = boundedText(text, bounds);
        EXPECT_LE(characterCount(shown), bounds.characters);
        EXPECT_TRUE(shown.ends_with(ellipsis));
        const std::string_view whole = std::string_view(shown).substr(0, shown.size() - ellipsis.size());
        EXPECT_TRUE(std::string_view(text).starts_with(whole)) << "what is shown is the text's beginning";
        std::size_t lines = 1;
        for (char byte : shown) lines += byte == '\n' ? 1 : 0;
        EXPECT_LE(lines, bounds.lines);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoundedTextPathological,
    ::testing::Values(PathologicalCase{"FiftyThousandCombiningMarks", "a" + repeated("\u0301", 50000)},
                      PathologicalCase{"OneMebibyte", repeated("x", 1024 * 1024)},
                      PathologicalCase{"TenThousandShortLines", repeated("x\n", 10000)},
                      PathologicalCase{"TenThousandEmptyLinesThenText", repeated("\n", 10000) + "x"},
                      PathologicalCase{"OneHundredKilobytesOfEmoji", repeated("😀", 25000)},
                      PathologicalCase{"InvalidBytes", repeated("\xFF", 100000)}),
    [](const ::testing::TestParamInfo<PathologicalCase>& info) { return std::string(info.param.name); });

TEST(CharacterCount, CountsCharactersNotBytes) {
    EXPECT_EQ(characterCount(""), 0U);
    EXPECT_EQ(characterCount("Tessary…"), 8U);
    EXPECT_EQ(characterCount("a\r\nb"), 3U);
    EXPECT_EQ(characterCount("\xFF\xFE"), 2U);
    EXPECT_EQ(characterCount("😀"), 1U);
}

}  // namespace
}  // namespace tessary::update
