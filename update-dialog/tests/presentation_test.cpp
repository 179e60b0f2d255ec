// What one accepted pass shows for each state, and how passes follow each other.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/byte_count.h"
#include "dialog_harness.h"

namespace tessary::update::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::Not;

const std::string offerText =
    "Your conversations and drafts will be restored when Tessary reopens. Active turns controlled by Tessary "
    "may "
    "be interrupted; other agents keep working.";

struct Row {
    std::string state;
    std::string members;  // further JSON members of the status file
    std::string message;  // setMessageText
    std::vector<std::string> afterMessage;
    bool offer = false;
    bool busy = false;
    std::string informative = "Tessary 1.4.2";  // set before the row's own texts
};

std::vector<std::string> expectedFirstPass(const Row& row) {
    std::vector<std::string> calls{
        row.offer ? "button1.setTitle(\"Install & Relaunch\")" : "button1.setTitle(\"Close\")",
        row.offer ? "button1.setKeyEquivalent(\"\")" : "button1.setKeyEquivalent(\"\\r\")",
        "alert.setInformativeText(" + recording::quoted(row.informative) + ")",
        "alert.setMessageText(" + recording::quoted(row.message) + ")",
    };
    calls.insert(calls.end(), row.afterMessage.begin(), row.afterMessage.end());
    calls.insert(calls.end(), {row.busy ? "alert.setAccessoryView(progress)" : "alert.setAccessoryView(nil)",
                               row.busy ? "progress.setHidden(NO)" : "progress.setHidden(YES)",
                               "progress.setIndeterminate(YES)", "progress.startAnimation(nil)"});
    if (!row.state.empty()) calls.push_back("alert.layout");
    return calls;
}

TEST(StateTable, EachStateShowsItsRow) {
    const std::string laterAdded[] = {"alert.buttons.count -> 1",
                                      "alert.addButtonWithTitle(\"Later\") -> button2"};
    const std::vector<Row> rows{
        {"up-to-date",
         R"("message": "ignored")",
         "Tessary is up to date",
         {"alert.setInformativeText(\"You’re running Tessary 1.4.2. No newer release is available.\")"},
         false,
         false,
         "ignored"},
        {"available",
         R"("latest": "2.0.0", "message": "m")",
         "Tessary 2.0.0 is available",
         {"alert.setInformativeText(" + recording::quoted(offerText) + ")", laterAdded[0], laterAdded[1]},
         true,
         false,
         "m"},
        {"waiting-for-agents",
         R"("latest": "2.0.0")",
         "Tessary 2.0.0 is available",
         {"alert.setInformativeText(" + recording::quoted(offerText) + ")", laterAdded[0], laterAdded[1]},
         true},
        {"available",
         "",
         "Tessary  is available",  // no latest: two blanks
         {"alert.setInformativeText(" + recording::quoted(offerText) + ")", laterAdded[0], laterAdded[1]},
         true},
        {"downloading",
         R"("latest": "2.0.0", "downloaded": 1500000, "total": 2350000000, "message": "m")",
         "Downloading Tessary 2.0.0…",
         // The counts in the platform's own file-size style (byte_count_test.cpp).
         {"alert.setInformativeText(" +
          recording::quoted(stringFromByteCount(1'500'000) + " of " + stringFromByteCount(2'350'000'000)) +
          ")"},
         false,
         true,
         "m"},
        {"downloading",
         R"("downloaded": 0, "total": -1)",
         "Downloading Tessary …",
         {"alert.setInformativeText(" +
          recording::quoted(stringFromByteCount(0) + " of " + stringFromByteCount(-1)) + ")"},
         false,
         true},
        {"verifying",
         R"("message": "Checking signatures")",
         "Verifying the update…",
         {},
         false,
         true,
         "Checking signatures"},
        {"extracting", "", "Preparing the update…", {}, false, true},
        {"installing", "", "Installing and relaunching Tessary…", {}, false, true},
        {"updated",
         R"("message": "Restart to finish")",
         "Tessary is updated",
         {},
         false,
         false,
         "Restart to finish"},
        {"error",
         R"("message": "Disk full")",
         "Tessary couldn’t update",
         {"alert.setAlertStyle(0)"},
         false,
         false,
         "Disk full"},
        {"release-unavailable", "", "Tessary couldn’t update", {"alert.setAlertStyle(0)"}},
        {"recovery-required", "", "Tessary couldn’t update", {"alert.setAlertStyle(0)"}},
        {"checking", "", "Checking for updates…", {}, false, true},
        {"", "", "Checking for updates…", {}},
        {"paused", R"("message": "Waiting")", "Checking for updates…", {}, false, false, "Waiting"},
        {"Available", "", "Checking for updates…", {}},
        {"checking ", "", "Checking for updates…", {}},
    };
    for (const Row& row : rows) {
        StatusFolder folder;
        folder.write(statusJson(row.state, row.members));
        const DialogRun run = runDialog(standardArguments(folder), {Press{2}});
        EXPECT_THAT(firstPassCalls(run.calls), ElementsAreArray(expectedFirstPass(row)))
            << "state \"" << row.state << "\" " << row.members;
    }
}

// Without two whole-number counts the download shows its fallback text, never the file's message.
TEST(StateTable, DownloadingFallsBackWithoutTwoWholeCounts) {
    const std::string fallback =
        "alert.setInformativeText(\"You can keep using Tessary while the update downloads.\")";
    for (const std::string members :
         {R"("downloaded": 10)", R"("total": 10)", R"("downloaded": 10, "total": 1.5)",
          R"("downloaded": "10", "total": 10)", R"("downloaded": 1.5, "total": 10)",
          R"("downloaded": true, "total": 10)", R"("message": "m")"}) {
        StatusFolder folder;
        folder.write(statusJson("downloading", members));
        const auto pass = firstPassCalls(runDialog(standardArguments(folder), {Press{1}}).calls);
        // The informative text that stands at the end of the pass is the fallback.
        std::vector<std::string> informative;
        std::copy_if(pass.begin(), pass.end(), std::back_inserter(informative),
                     [](const std::string& call) { return call.starts_with("alert.setInformativeText"); });
        ASSERT_FALSE(informative.empty()) << members;
        EXPECT_EQ(informative.back(), fallback) << members;
    }
}

// The calls that start with one of `prefixes`, in order.
std::vector<std::string> callsStartingWith(const std::vector<std::string>& calls,
                                           std::initializer_list<std::string_view> prefixes) {
    std::vector<std::string> kept;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(kept), [&](const std::string& call) {
        return std::any_of(prefixes.begin(), prefixes.end(),
                           [&](std::string_view prefix) { return call.starts_with(prefix); });
    });
    return kept;
}

std::vector<std::string> messagesAndButtons(const std::vector<std::string>& calls) {
    return callsStartingWith(calls, {"alert.addButtonWithTitle", "button1.setTitle", "alert.setAlertStyle",
                                     "-- press", "-- timer fires"});
}

TEST(StateSequence, LaterIsAddedOnceAndStaysWhateverFollows) {
    StatusFolder folder;
    const DialogRun run = runDialog(
        standardArguments(folder),
        {folder.writeStep(statusJson("available")), TimerTick{}, folder.writeStep(statusJson("downloading")),
         TimerTick{}, folder.writeStep(statusJson("available")), TimerTick{},
         folder.writeStep(statusJson("updated")), TimerTick{}, Press{2}});
    const std::vector<std::string> expected{
        "alert.setAlertStyle(1)",
        "alert.addButtonWithTitle(\"Close\") -> button1",
        "-- timer fires",
        "button1.setTitle(\"Install & Relaunch\")",
        "alert.addButtonWithTitle(\"Later\") -> button2",
        "-- timer fires",
        "button1.setTitle(\"Close\")",
        "-- timer fires",
        "button1.setTitle(\"Install & Relaunch\")",
        "-- timer fires",
        "button1.setTitle(\"Close\")",
        "-- press button2",
    };
    EXPECT_THAT(messagesAndButtons(run.calls), ElementsAreArray(expected));
    EXPECT_EQ(run.standardOutput, "");
}

TEST(StateSequence, TheWarningStyleStaysForTheRestOfTheRun) {
    StatusFolder folder;
    const DialogRun run = runDialog(standardArguments(folder),
                                    {folder.writeStep(statusJson("error")), TimerTick{},
                                     folder.writeStep(statusJson("available")), TimerTick{}, Press{1}});
    const std::vector<std::string> expected{
        "alert.setAlertStyle(1)",
        "alert.addButtonWithTitle(\"Close\") -> button1",
        "-- timer fires",
        "button1.setTitle(\"Close\")",
        "alert.setAlertStyle(0)",
        "-- timer fires",
        "button1.setTitle(\"Install & Relaunch\")",
        "alert.addButtonWithTitle(\"Later\") -> button2",
        "-- press button1",
    };
    EXPECT_THAT(messagesAndButtons(run.calls), ElementsAreArray(expected));
    EXPECT_EQ(run.standardOutput, "{\"action\":\"install\"}\n");
}

TEST(StateSequence, RejectedReadingsLeaveEverythingAsTheLastAcceptedPassLeftIt) {
    StatusFolder folder;
    const DialogRun run =
        runDialog(standardArguments(folder),
                  {folder.writeStep(statusJson("verifying")), TimerTick{},
                   folder.writeStep(R"({"checkedAt": 1, "state": "x"})"), TimerTick{},
                   folder.writeStep("{\"checkedAt\": 100, \"state\": \"ver"), TimerTick{},
                   Action{[&] { std::filesystem::remove(folder.statusPath()); }}, TimerTick{},
                   folder.writeStep(statusJson("verifying")), TimerTick{}, Press{1}});
    EXPECT_THAT(tickCalls(run.calls, 1), Contains("alert.layout"));
    for (int tick : {2, 3, 4})
        EXPECT_THAT(tickCalls(run.calls, tick), ElementsAreArray<std::string>({})) << tick;
    EXPECT_THAT(tickCalls(run.calls, 5), Not(Contains("alert.layout")));
    EXPECT_THAT(tickCalls(run.calls, 5), Contains("alert.setMessageText(\"Verifying the update…\")"));
}

std::vector<std::string> barCalls(const std::vector<std::string>& pass) {
    return callsStartingWith(pass, {"progress.", "alert.setAccessoryView"});
}

TEST(Bar, EveryPassSendsTheWholeBarState) {
    struct Case {
        std::string state;
        std::string members;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"downloading",
         R"("progress": 37.5)",
         {"alert.setAccessoryView(progress)", "progress.setHidden(NO)", "progress.setIndeterminate(NO)",
          "progress.setDoubleValue(37.5)"}},
        {"downloading",
         "",
         {"alert.setAccessoryView(progress)", "progress.setHidden(NO)", "progress.setIndeterminate(YES)",
          "progress.startAnimation(nil)"}},
        {"available",
         R"("progress": 30)",
         {"alert.setAccessoryView(nil)", "progress.setHidden(YES)", "progress.setIndeterminate(NO)",
          "progress.setDoubleValue(30)"}},
        {"up-to-date",
         R"("progress": "30")",
         {"alert.setAccessoryView(nil)", "progress.setHidden(YES)", "progress.setIndeterminate(YES)",
          "progress.startAnimation(nil)"}},
    };
    for (const Case& c : cases) {
        StatusFolder folder;
        folder.write(statusJson(c.state, c.members));
        // The same file read twice: the second pass sends the same calls again.
        const DialogRun run = runDialog(standardArguments(folder), {TimerTick{}, Press{1}});
        EXPECT_THAT(barCalls(firstPassCalls(run.calls)), ElementsAreArray(c.expected))
            << c.state << c.members;
        EXPECT_THAT(barCalls(tickCalls(run.calls, 1)), ElementsAreArray(c.expected)) << c.state << c.members;
    }
}

TEST(Bar, PercentagesAreClampedToTheBar) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"-5", "0"},      {"-3", "0"},      {"0", "0"},      {"-0.0", "-0"},
        {"42.5", "42.5"}, {"99.9", "99.9"}, {"100", "100"},  {"130", "100"},
        {"250", "100"},   {"1e308", "100"}, {"-1e308", "0"}, {"1e-300", "1e-300"},
    };
    for (const auto& [written, shown] : cases) {
        StatusFolder folder;
        folder.write(statusJson("downloading", R"("progress": )" + written));
        const auto pass = firstPassCalls(runDialog(standardArguments(folder), {Press{1}}).calls);
        EXPECT_THAT(pass, Contains("progress.setDoubleValue(" + shown + ")")) << written;
    }
}

TEST(Relayout, OnlyAChangeOfStateLaysTheAlertOutAgain) {
    struct Case {
        const char* name;
        std::vector<std::string> states;  // one per tick
        std::vector<bool> layouts;
    };
    const std::string precomposed = "caf\xC3\xA9";  // "café", é as one character
    const std::string decomposed = "cafe\xCC\x81";  // "café", e + combining acute accent
    const std::vector<Case> cases{
        {"same state, new texts", {"downloading", "downloading", "downloading"}, {true, false, false}},
        {"empty state first", {"", "", "checking"}, {false, false, true}},
        {"unknown states", {"alpha", "beta", "beta"}, {true, true, false}},
        {"case counts", {"checking", "Checking", "checking"}, {true, true, true}},
        {"canonically equivalent", {precomposed, decomposed, precomposed}, {true, false, false}},
    };
    for (const Case& c : cases) {
        StatusFolder folder;
        std::vector<Step> script;
        int count = 0;
        for (const auto& state : c.states) {
            ++count;
            script.push_back(folder.writeStep(
                statusJson(state, R"("downloaded": )" + std::to_string(count * 1000) +
                                      R"(, "total": 9000, "message": "m)" + std::to_string(count) + "\"")));
            script.push_back(TimerTick{});
        }
        script.push_back(Press{1});
        const DialogRun run = runDialog(standardArguments(folder), std::move(script));
        for (std::size_t tick = 0; tick < c.layouts.size(); ++tick) {
            const auto pass = tickCalls(run.calls, static_cast<int>(tick) + 1);
            const bool laidOut = !pass.empty() && pass.back() == "alert.layout";
            EXPECT_EQ(laidOut, c.layouts[tick]) << c.name << ", tick " << tick + 1;
        }
    }
}

TEST(Presentation, ACanonicallyEquivalentOfferIsAnOffer) {
    // "available" has no other canonically equivalent spelling; a fullwidth or
    // decomposed look-alike is not equivalent and offers nothing.
    for (const auto& [state, offered] : std::vector<std::pair<std::string, bool>>{
             {"available", true}, {"\xEF\xBD\x81vailable", false}, {"available\xCC\x81", false}}) {
        StatusFolder folder;
        folder.write(statusJson(state));
        const DialogRun run = runDialog(standardArguments(folder), {Press{1}});
        EXPECT_EQ(run.standardOutput.empty(), !offered) << state;
    }
}

}  // namespace
}  // namespace tessary::update::testing
