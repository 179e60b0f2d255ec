// The program from start to exit: command line, set-up order, the first pass
// before the dialog shows, focus signals, and what reaches standard output.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

#include "core/status_file.h"
#include "dialog_harness.h"

namespace tessary::update::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr std::string_view installRequest = "{\"action\":\"install\"}\n";
// Long enough for a file rewritten in place just now to have settled.
constexpr auto settleWait = std::chrono::milliseconds(100);

TEST(CommandLine, FewerThanFourArgumentsEndWithStatusTwoAndNothingElse) {
    const std::vector<std::vector<std::string>> shortLines{
        {}, {"status.json"}, {"status.json", "1.0"}, {"status.json", "1.0", "icon.png"}};
    for (const auto& arguments : shortLines) {
        const DialogRun run = runDialog(arguments, {Press{1}});
        EXPECT_EQ(run.exitStatus, 2) << arguments.size() << " arguments";
        EXPECT_THAT(run.calls, IsEmpty()) << arguments.size() << " arguments";
        EXPECT_THAT(run.standardOutput, IsEmpty());
    }
}

TEST(RunSequence, SetsUpTheAlertInOrderThenRunsTheModalLoop) {
    StatusFolder folder;  // no status file: the first pass changes nothing
    const auto arguments = standardArguments(folder);
    const DialogRun run = runDialog(arguments, {Press{1}});

    const std::vector<std::string> expected{
        "NSApplication.sharedApplication",
        "app.setActivationPolicy(1)",
        "NSAlert.init",
        "alert.setAlertStyle(1)",
        "alert.setMessageText(\"Checking for updates…\")",
        "alert.setInformativeText(\"Tessary 1.4.2\")",
        "alert.addButtonWithTitle(\"Close\") -> button1",
        "NSProgressIndicator.initWithFrame(0, 0, 280, 14)",
        "progress.setStyle(0)",
        "progress.setIndeterminate(YES)",
        "progress.startAnimation(nil)",
        "alert.setAccessoryView(progress)",
        "NSTimer.timerWithTimeInterval(0.25, repeats: YES)",
        "NSRunLoop.mainRunLoop.addTimer(timer, NSRunLoopCommonModes)",
        "signal(SIGUSR1, SIG_IGN)",
        "dispatch_source_create(signal, SIGUSR1, main queue)",
        "focusSignal.setEventHandler",
        "focusSignal.resume",
        "app.activateIgnoringOtherApps(YES)",
        "alert.runModal",
        "-- press button1",
        "alert.runModal -> 1000",
        "timer.invalidate",
    };
    EXPECT_THAT(run.calls, ElementsAreArray(expected));
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_THAT(run.standardOutput, IsEmpty());
}

TEST(RunSequence, ArgumentsAfterTheFourthAreIgnored) {
    StatusFolder folder;
    folder.write(statusJson("checking"));
    auto arguments = standardArguments(folder);
    const DialogRun four = runDialog(arguments, {TimerTick{}, Press{1}});
    arguments.insert(arguments.end(), {"--extra", ""});
    const DialogRun six = runDialog(arguments, {TimerTick{}, Press{1}});
    EXPECT_EQ(four.calls, six.calls);
    EXPECT_EQ(six.exitStatus, 0);
}

TEST(RunSequence, AFreshOfferIsShownBeforeTheDialogComesOnScreen) {
    StatusFolder folder;
    folder.write(statusJson("available", R"("latest": "2.0.0")"));
    const DialogRun run = runDialog(standardArguments(folder), {Press{1}});

    const auto pass = firstPassCalls(run.calls);
    EXPECT_THAT(pass, ::testing::Contains("alert.setMessageText(\"Tessary 2.0.0 is available\")"));
    EXPECT_THAT(pass, ::testing::Contains("alert.addButtonWithTitle(\"Later\") -> button2"));
    EXPECT_EQ(run.standardOutput, installRequest);
}

// The icon file is read like the status file, whatever bytes its path holds:
// only a regular file is decoded, and anything else leaves the default icon at
// once (a FIFO without a writer would otherwise hold the dialog back for good).
// The image stays alive for as long as the alert.
TEST(RunSequence, IconIsSetOnlyWhenARegularFileHoldsAnImage) {
    StatusFolder folder;
    const auto in = [&](std::string_view name) { return folder.pathOf(name); };
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\0", 12);
    std::ofstream(in("icon.png"), std::ios::binary) << png;
    // An icon may be far larger than a status file may be, up to 32 MiB.
    constexpr std::size_t mebibyte = 1024 * 1024;
    std::ofstream(in("large.png"), std::ios::binary) << png + std::string(2 * mebibyte, '\0');
    std::ofstream(in("largest.png"), std::ios::binary) << png + std::string(32 * mebibyte - png.size(), '\0');
    std::ofstream(in("huge.png"), std::ios::binary) << png + std::string(32 * mebibyte, '\0');
    std::ofstream(fileSystemPath(in(unusualFileName)), std::ios::binary) << png;
    std::ofstream(in("icon.txt"), std::ios::binary) << "not an image\n";
    const WaitingSpecialFile fifo(folder);
    std::filesystem::create_directory(in("icon.folder"));

    struct Case {
        std::string path;
        const char* decoded;  // the decoder's call, or nullptr when the file is never decoded
        bool shown;
    };
    const std::vector<Case> cases{
        {in("icon.png"), "NSImage.initWithData(12 bytes) -> image", true},
        {in(unusualFileName), "NSImage.initWithData(12 bytes) -> image", true},
        {in("large.png"), "NSImage.initWithData(2097164 bytes) -> image", true},
        {in("largest.png"), "NSImage.initWithData(33554432 bytes) -> image", true},
        {in("huge.png"), nullptr, false},
        {in("icon.txt"), "NSImage.initWithData(13 bytes) -> nil", false},
        {fifo.path(), nullptr, false},
        {in("icon.folder"), nullptr, false},
        {in("missing.png"), nullptr, false},
        {"", nullptr, false},
    };
    for (const Case& c : cases) {
        auto arguments = standardArguments(folder);
        arguments[2] = c.path;
        const DialogRun run = runDialog(arguments, {TimerTick{}, Press{1}});
        std::vector<std::string> iconCalls;
        std::copy_if(
            run.calls.begin(), run.calls.end(), std::back_inserter(iconCalls),
            [](const std::string& line) { return line.starts_with("NSImage") || line.starts_with("image"); });
        std::vector<std::string> expected;
        if (c.decoded) expected.emplace_back(c.decoded);
        EXPECT_EQ(iconCalls, expected) << c.path;
        EXPECT_EQ(std::count(run.calls.begin(), run.calls.end(), "alert.setIcon(image)"), c.shown ? 1 : 0)
            << c.path;
        EXPECT_EQ(run.exitStatus, 0);
    }
}

TEST(RunSequence, CommandLineTextsAreShownAsTheyStand) {
    StatusFolder folder;
    auto arguments = standardArguments(folder);
    arguments[1] = " 1.0\xff\xfe \t\"beta\" ";
    const DialogRun run = runDialog(arguments, {Press{1}});
    EXPECT_THAT(run.calls,
                ::testing::Contains("alert.setInformativeText(\"Tessary  1.0\xff\xfe \\t\\\"beta\\\" \")"));
}

TEST(RunSequence, ARelativeStatusPathIsTakenAgainstTheCurrentDirectory) {
    StatusFolder folder;
    folder.write(statusJson("updated"));
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.folder());
    auto arguments = standardArguments(folder);
    arguments[0] = "status.json";
    const DialogRun run = runDialog(arguments, {Press{1}});
    std::filesystem::current_path(previous);
    EXPECT_THAT(firstPassCalls(run.calls),
                ::testing::Contains("alert.setMessageText(\"Tessary is updated\")"));
}

TEST(FocusSignal, BringsTheDialogToTheFrontAndChangesNothingElse) {
    StatusFolder folder;
    const DialogRun run = runDialog(standardArguments(folder), {FocusSignal{}, FocusSignal{}, Press{1}});
    const auto modal = std::find(run.calls.begin(), run.calls.end(), "alert.runModal");
    const std::vector<std::string> inLoop(modal + 1, run.calls.end());
    const std::vector<std::string> expected{
        "-- SIGUSR1",
        "app.activateIgnoringOtherApps(YES)",
        "window.makeKeyAndOrderFront(nil)",
        "-- SIGUSR1",
        "app.activateIgnoringOtherApps(YES)",
        "window.makeKeyAndOrderFront(nil)",
        "-- press button1",
        "alert.runModal -> 1000",
        "timer.invalidate",
    };
    EXPECT_THAT(inLoop, ElementsAreArray(expected));
    EXPECT_EQ(run.exitStatus, 0);
}

// Which button ends the loop, and what the last accepted pass offered, decide
// the install request; the first button's title plays no part.
TEST(InstallRequest, WrittenOnlyForTheFirstButtonWhileAnInstallIsOffered) {
    struct Case {
        const char* name;
        std::vector<std::string> files;  // written before successive ticks
        int pressed;
        bool requested;
    };
    const std::string offer = statusJson("available", R"("latest": "2.0.0")");
    const std::string waiting = statusJson("waiting-for-agents", R"("latest": "2.0.0")");
    const std::vector<Case> cases{
        {"initial Close", {}, 1, false},
        {"offer, first button", {offer}, 1, true},
        {"waiting for agents, first button", {waiting}, 1, true},
        {"offer, Later", {offer}, 2, false},
        {"offer then downloading", {offer, statusJson("downloading")}, 1, false},
        {"offer then downloading, Later", {offer, statusJson("downloading")}, 2, false},
        {"offer then stale", {offer, R"({"checkedAt": 99, "state": "error"})"}, 1, true},
        {"offer then broken", {offer, R"({"checkedAt": 100, "sta)"}, 1, true},
        {"offer then missing state", {offer, R"({"checkedAt": 100})"}, 1, true},
        {"error then offer", {statusJson("error"), offer}, 1, true},
        {"offer then up to date", {offer, statusJson("up-to-date")}, 1, false},
    };
    for (const Case& c : cases) {
        StatusFolder folder;
        std::vector<Step> script;
        for (const std::string& file : c.files) {
            script.push_back(folder.writeStep(file));
            script.push_back(TimerTick{});
        }
        script.push_back(Press{c.pressed});
        const DialogRun run = runDialog(standardArguments(folder), std::move(script));
        EXPECT_EQ(run.standardOutput, c.requested ? installRequest : "") << c.name;
        EXPECT_EQ(run.exitStatus, 0) << c.name;
    }
}

TEST(InstallRequest, IsExactlyTwentyOneBytes) {
    StatusFolder folder;
    folder.write(statusJson("available"));
    const DialogRun run = runDialog(standardArguments(folder), {Press{1}});
    ASSERT_EQ(run.standardOutput.size(), 21u);
    EXPECT_EQ(run.standardOutput, "{\"action\":\"install\"}\n");
}

// The calls from the end of the modal loop on.
std::vector<std::string> afterTheModalLoop(const std::vector<std::string>& calls) {
    const auto end = std::find_if(calls.begin(), calls.end(), [](const std::string& line) {
        return line.starts_with("alert.runModal -> ");
    });
    return end == calls.end() ? std::vector<std::string>{} : std::vector<std::string>(end + 1, calls.end());
}

// Once the timer has stopped, the program writes the request or not and ends:
// it releases, cancels and invalidates nothing more. The alert, its icon, the
// bar and the focus signal stay in place until the process is gone.
TEST(Lifecycle, NothingIsReleasedOrCancelledAfterTheTimerStops) {
    StatusFolder folder;
    const auto icon = (folder.folder() / "icon.png").string();
    std::ofstream(icon, std::ios::binary) << std::string("\x89PNG\r\n\x1a\n", 8);
    folder.write(statusJson("available", R"("latest": "2.0.0")"));
    auto arguments = standardArguments(folder);
    arguments[2] = icon;
    const DialogRun run = runDialog(arguments, {TimerTick{}, FocusSignal{}, TimerTick{}, Press{1}});

    EXPECT_THAT(afterTheModalLoop(run.calls), ElementsAreArray({"timer.invalidate"}));
    for (const std::string& line : run.calls) EXPECT_FALSE(line.ends_with(".release")) << line;
    EXPECT_EQ(run.standardOutput, installRequest);
}

// A version rewritten in place a moment ago may be half written: the tick that
// meets it shows nothing and reads it again once it has settled.
TEST(SettlingFile, AFileRewrittenInPlaceIsShownOnceItHasSettled) {
    StatusFolder folder;
    folder.write(statusJson("verifying"));
    const DialogRun run = runDialog(
        standardArguments(folder),
        {TimerTick{}, Action{[&] { folder.rewriteInPlaceNow(statusJson("extracting")); }}, TimerTick{},
         Action{[] { std::this_thread::sleep_for(settleWait); }}, OneShotTimerFires{}, Press{1}});

    const auto secondTick = tickCalls(run.calls, 2);
    ASSERT_EQ(secondTick.size(), 2u) << ::testing::PrintToString(secondTick);
    EXPECT_THAT(secondTick[0], ::testing::StartsWith("NSTimer.timerWithTimeInterval(0.0"));
    EXPECT_THAT(secondTick[0], ::testing::EndsWith(", repeats: NO)"));
    EXPECT_EQ(secondTick[1], "NSRunLoop.mainRunLoop.addTimer(timer2, NSRunLoopCommonModes)");

    const auto settled = std::find(run.calls.begin(), run.calls.end(), "-- one-shot timer fires");
    ASSERT_NE(settled, run.calls.end());
    EXPECT_EQ(*(settled + 1), "button1.setTitle(\"Close\")");  // a whole pass, and no further timer
    EXPECT_THAT(std::vector<std::string>(settled, run.calls.end()),
                ::testing::Contains("alert.setMessageText(\"Preparing the update…\")"));
}

// The status file's age on a clock of the test's own, so that whether a
// rewrite has settled never depends on how fast the machine runs the test.
class SettlingOnAFixedClock : public ::testing::Test {
protected:
    const std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
    StatusFolder folder;

    DialogRun run(std::vector<Step> script) {
        folder.write(statusJson("verifying"));
        folder.dateTo(now - std::chrono::seconds(1));
        return runDialog(standardArguments(folder), std::move(script),
                         {.standardOutput = nullptr, .clock = [this] { return now; }});
    }
    // The host rewrites the file in place: it changed 10 ms ago.
    Action rewrite(std::string_view state) {
        return Action{[this, state] {
            folder.rewriteInPlaceNow(statusJson(state));
            folder.dateTo(now - std::chrono::milliseconds(10));
        }};
    }
    // The host has left it alone for longer than the settling time.
    Action settle() {
        return Action{[this] { folder.dateTo(now - settlingTime); }};
    }
};

std::size_t oneShotTimersMade(const std::vector<std::string>& calls) {
    return static_cast<std::size_t>(std::count_if(calls.begin(), calls.end(), [](const std::string& line) {
        return line.starts_with("NSTimer.timerWithTimeInterval(") && line.ends_with("repeats: NO)");
    }));
}

// Each version the host rewrites in place is shown as soon as it has settled,
// not only the first one of the run.
TEST_F(SettlingOnAFixedClock, EveryRewriteInPlaceIsReadAgainOnceItHasSettled) {
    const DialogRun shown =
        run({TimerTick{}, rewrite("extracting"), TimerTick{}, settle(), OneShotTimerFires{},
             rewrite("installing"), TimerTick{}, settle(), OneShotTimerFires{}, Press{1}});
    EXPECT_EQ(oneShotTimersMade(shown.calls), 2u);
    std::vector<std::string> afterSettling;
    for (auto line = shown.calls.begin(); line != shown.calls.end(); ++line) {
        if (*line != "-- one-shot timer fires") continue;
        const auto message = std::find_if(line, shown.calls.end(), [](const std::string& call) {
            return call.starts_with("alert.setMessageText(") || call.starts_with("-- timer fires");
        });
        afterSettling.push_back(message == shown.calls.end() ? "nothing" : *message);
    }
    EXPECT_THAT(afterSettling,
                ElementsAreArray({"alert.setMessageText(\"Preparing the update…\")",
                                  "alert.setMessageText(\"Installing and relaunching Tessary…\")"}));
}

// Ticks that meet the same unsettled file wait for one settle read between them.
TEST_F(SettlingOnAFixedClock, OneSettleReadIsPendingAtATime) {
    const DialogRun shown = run({TimerTick{}, rewrite("extracting"), TimerTick{}, TimerTick{}, TimerTick{},
                                 settle(), OneShotTimerFires{}, Press{1}});
    EXPECT_EQ(oneShotTimersMade(shown.calls), 1u);
    EXPECT_EQ(
        std::count(shown.calls.begin(), shown.calls.end(), "alert.setMessageText(\"Preparing the update…\")"),
        1);
}

TEST(SettlingFile, AFileRenamedIntoPlaceIsShownAtOnce) {
    StatusFolder folder;
    folder.write(statusJson("verifying"));
    const DialogRun run =
        runDialog(standardArguments(folder),
                  {TimerTick{}, Action{[&] { folder.renameIntoPlace(statusJson("extracting")); }},
                   TimerTick{}, Press{1}});
    EXPECT_THAT(tickCalls(run.calls, 2),
                ::testing::Contains("alert.setMessageText(\"Preparing the update…\")"));
    EXPECT_THAT(run.calls, ::testing::Not(::testing::Contains(::testing::HasSubstr("repeats: NO"))));
}

// A host writing one version in two steps, in place: the half-written file
// reads as an offer no version held. Pressed at that moment, the first button
// must not confirm it.
TEST(SettlingFile, AHalfWrittenOfferIsNeverShownNorConfirmed) {
    StatusFolder folder;
    const std::string verifying = R"({"checkedAt":100,"state":"verifying","k":"error"})";
    const std::string hint = R"({"checkedAt":100,"hint":"xavailable","k":"error"})";
    const std::string halfWritten = verifying.substr(0, 26) + hint.substr(26);
    ASSERT_NE(halfWritten.find(R"("state":"available")"), std::string::npos);
    folder.write(verifying);
    const DialogRun run = runDialog(
        standardArguments(folder),
        {TimerTick{}, Action{[&] { folder.rewriteInPlaceNow(halfWritten); }}, TimerTick{}, Press{1}});
    EXPECT_THAT(run.calls, ::testing::Not(::testing::Contains("button1.setTitle(\"Install & Relaunch\")")));
    EXPECT_EQ(run.standardOutput, "");
    EXPECT_THAT(afterTheModalLoop(run.calls), ElementsAreArray({"timer.invalidate", "timer2.invalidate"}));
}

// The first pass runs before the dialog is on screen: it waits for a file the
// host wrote a moment ago to settle, so the dialog shows it from the first frame.
TEST(SettlingFile, TheFirstPassWaitsForAFreshlyWrittenFile) {
    StatusFolder folder;
    folder.rewriteInPlaceNow(statusJson("available", R"("latest": "2.0.0")"));
    const DialogRun run = runDialog(standardArguments(folder), {Press{1}});
    EXPECT_THAT(firstPassCalls(run.calls),
                ::testing::Contains("alert.setMessageText(\"Tessary 2.0.0 is available\")"));
    EXPECT_EQ(run.standardOutput, installRequest);
}

}  // namespace
}  // namespace tessary::update::testing
