// A host that puts far too much into a text (a whole log as `message`, a
// runaway `latest` or installed version) still gets a dialog of a few lines:
// every text reaches the alert cut short and closed with an ellipsis.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace tessary::update::testing {
namespace {

using ::testing::Contains;

// A JSON string member holding `text` (plain ASCII or UTF-8 without quotes or backslashes).
std::string member(std::string_view key, const std::string& text) {
    return "\"" + std::string(key) + "\": \"" + text + "\"";
}

std::string informative(const std::string& text) {
    return "alert.setInformativeText(" + recording::quoted(text) + ")";
}

std::string headline(const std::string& text) {
    return "alert.setMessageText(" + recording::quoted(text) + ")";
}

std::vector<std::string> arguments(const StatusFolder& folder, std::string installed) {
    return {folder.statusPath(), std::move(installed), "/nonexistent/icon.png", "100"};
}

std::string times(std::string_view piece, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text.append(piece);
    return text;
}

const std::string cutVersion = times("7", 119) + "…";  // 120 characters in all

struct LongTextCase {
    const char* name;
    std::string installed;
    std::string status;  // empty: no status file
    std::string expectedCall;
};

class LongTexts : public ::testing::TestWithParam<LongTextCase> {};

TEST_P(LongTexts, ReachTheAlertCutShort) {
    const LongTextCase& c = GetParam();
    StatusFolder folder;
    if (!c.status.empty()) folder.write(c.status);
    const DialogRun run = runDialog(arguments(folder, c.installed), {Press{1}});
    EXPECT_THAT(run.calls, Contains(c.expectedCall));
    for (const std::string& call : run.calls) EXPECT_LT(call.size(), 8000U) << call.substr(0, 80);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LongTexts,
    ::testing::Values(LongTextCase{"HundredKilobyteMessageInAnError", "1.4.2",
                                   statusJson("error", member("message", times("m", 100 * 1024))),
                                   informative(times("m", 1199) + "…")},
                      LongTextCase{"TenThousandLinesInAMessage", "1.4.2",
                                   statusJson("verifying", member("message", times("at x\\n", 10000))),
                                   informative(times("at x\n", 15) + "at x…")},
                      // Every line break of text layout counts, not only the line feed.
                      LongTextCase{"TenThousandLinesApartByVerticalTabs", "1.4.2",
                                   statusJson("verifying", member("message", times("at x\\u000b", 10000))),
                                   informative(times("at x\v", 15) + "at x…")},
                      LongTextCase{"TenThousandLinesApartByLineSeparators", "1.4.2",
                                   statusJson("verifying", member("message", times("at x\u2028", 10000))),
                                   informative(times("at x\u2028", 15) + "at x…")},
                      LongTextCase{"HundredKilobyteLatestInAnOffer", "1.4.2",
                                   statusJson("available", member("latest", times("7", 100 * 1024))),
                                   headline("Tessary " + cutVersion + " is available")},
                      LongTextCase{"HundredKilobyteLatestInADownload", "1.4.2",
                                   statusJson("downloading", member("latest", times("7", 100 * 1024))),
                                   headline("Downloading Tessary " + cutVersion + "…")},
                      LongTextCase{"LongInstalledVersionAtTheStart", times("7", 131 * 1024), "",
                                   informative("Tessary " + cutVersion)},
                      LongTextCase{"LongInstalledVersionWhenUpToDate", times("7", 131 * 1024),
                                   statusJson("up-to-date"),
                                   informative("You’re running Tessary " + cutVersion +
                                               ". No newer release is available.")},
                      LongTextCase{"InstalledVersionOverTwoLines", "2.0.0\nsecond line", statusJson("error"),
                                   informative("Tessary 2.0.0…")}),
    [](const ::testing::TestParamInfo<LongTextCase>& info) { return std::string(info.param.name); });

// Cutting changes nothing else: the offer with a runaway version is still an
// offer that "Install & Relaunch" confirms.
TEST(LongTexts, AnOfferWithALongVersionIsStillConfirmed) {
    StatusFolder folder;
    folder.write(statusJson("available", member("latest", times("7", 100 * 1024))));
    const DialogRun run = runDialog(arguments(folder, times("1", 131 * 1024)), {Press{1}});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.standardOutput, "{\"action\":\"install\"}\n");
}

}  // namespace
}  // namespace tessary::update::testing
