// A state that differs from a known one by a default-ignorable character (U+FEFF, U+200B, ...) is a
// different state: no canonical equivalence removes such a character. So "\ufeffavailable" offers no
// install, shows no bar and is no reason to skip a relayout, on every platform.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_harness.h"

namespace tessary::update::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::Not;

// Default-ignorable characters in UTF-8, each one character.
const std::string byteOrderMark = "\xEF\xBB\xBF";            // U+FEFF zero width no-break space
const std::string zeroWidthSpace = "\xE2\x80\x8B";           // U+200B
const std::string zeroWidthNonJoiner = "\xE2\x80\x8C";       // U+200C
const std::string zeroWidthJoiner = "\xE2\x80\x8D";          // U+200D
const std::string wordJoiner = "\xE2\x81\xA0";               // U+2060
const std::string softHyphen = "\xC2\xAD";                   // U+00AD
const std::string graphemeJoiner = "\xCD\x8F";               // U+034F combining grapheme joiner
const std::string mongolianVowelSeparator = "\xE1\xA0\x8E";  // U+180E
const std::string variationSelector16 = "\xEF\xB8\x8F";      // U+FE0F
const std::string languageTag = "\xF3\xA0\x80\x81";          // U+E0001
const std::string arabicLetterMark = "\xD8\x9C";             // U+061C
const std::string leftToRightMark = "\xE2\x80\x8E";          // U+200E

struct IgnorableCase {
    std::string name;
    std::string state;  // the text of the JSON string, as the host wrote it
};

std::vector<IgnorableCase> ignorableCases() {
    std::vector<IgnorableCase> cases{
        // The host's JSON escape, which the reader decodes to the character.
        {"escaped U+FEFF before available", "\\ufeffavailable"},
        {"escaped U+FEFF after available", "available\\ufeff"},
        {"U+FEFF before downloading", byteOrderMark + "downloading"},
        {"U+FEFF after error", "error" + byteOrderMark},
        {"U+200B before waiting-for-agents", zeroWidthSpace + "waiting-for-agents"},
        {"U+200B after installing", "installing" + zeroWidthSpace},
        {"U+00AD inside available", "avail" + softHyphen + "able"},
        {"U+200D inside up-to-date", "up-to" + zeroWidthJoiner + "-date"},
        {"two U+FEFF before available", byteOrderMark + byteOrderMark + "available"},
    };
    const std::vector<std::pair<std::string, std::string>> characters{
        {"U+FEFF", byteOrderMark},       {"U+200B", zeroWidthSpace},
        {"U+200C", zeroWidthNonJoiner},  {"U+200D", zeroWidthJoiner},
        {"U+2060", wordJoiner},          {"U+00AD", softHyphen},
        {"U+034F", graphemeJoiner},      {"U+180E", mongolianVowelSeparator},
        {"U+FE0F", variationSelector16}, {"U+E0001", languageTag},
        {"U+061C", arabicLetterMark},    {"U+200E", leftToRightMark},
    };
    for (const auto& [name, character] : characters) {
        cases.push_back({name + " before available", character + "available"});
        cases.push_back({name + " after available", "available" + character});
    }
    return cases;
}

// What any state that is in no list and no row of the state table shows.
const std::vector<std::string> unknownStatePass{
    "button1.setTitle(\"Close\")",
    "button1.setKeyEquivalent(\"\\r\")",
    "alert.setInformativeText(\"Tessary 1.4.2\")",
    "alert.setMessageText(\"Checking for updates…\")",
    "alert.setAccessoryView(nil)",
    "progress.setHidden(YES)",
    "progress.setIndeterminate(YES)",
    "progress.startAnimation(nil)",
    "alert.layout",
};

TEST(IgnorableCharacters, MakeAStateThatIsInNoListAndOffersNothing) {
    for (const IgnorableCase& test : ignorableCases()) {
        StatusFolder folder;
        folder.write(statusJson(test.state));
        // The first button ends the loop: an offered install would be requested here.
        const DialogRun run = runDialog(standardArguments(folder), {Press{1}});
        EXPECT_THAT(firstPassCalls(run.calls), ElementsAreArray(unknownStatePass)) << test.name;
        EXPECT_EQ(run.standardOutput, "") << test.name;
        EXPECT_EQ(run.exitStatus, 0) << test.name;
    }
}

TEST(IgnorableCharacters, MakeADifferentStateForTheRelayout) {
    StatusFolder folder;
    const std::string withMark = byteOrderMark + "available";
    const DialogRun run = runDialog(
        standardArguments(folder),
        {folder.writeStep(statusJson("available")), TimerTick{}, folder.writeStep(statusJson(withMark)),
         TimerTick{}, folder.writeStep(statusJson("available" + zeroWidthSpace)), TimerTick{},
         folder.writeStep(statusJson("available" + zeroWidthSpace)), TimerTick{}, Press{2}});
    for (int tick : {1, 2, 3}) EXPECT_THAT(tickCalls(run.calls, tick), Contains("alert.layout")) << tick;
    EXPECT_THAT(tickCalls(run.calls, 4), Not(Contains("alert.layout")));
}

// The control: canonically equivalent states are one state, whatever their bytes.
TEST(IgnorableCharacters, CanonicallyEquivalentStatesAreStillTheSame) {
    StatusFolder folder;
    const DialogRun run = runDialog(standardArguments(folder),
                                    {folder.writeStep(statusJson("caf\xC3\xA9")), TimerTick{},
                                     folder.writeStep(statusJson("cafe\xCC\x81")), TimerTick{}, Press{1}});
    EXPECT_THAT(tickCalls(run.calls, 1), Contains("alert.layout"));
    EXPECT_THAT(tickCalls(run.calls, 2), Not(Contains("alert.layout")));
}

}  // namespace
}  // namespace tessary::update::testing
