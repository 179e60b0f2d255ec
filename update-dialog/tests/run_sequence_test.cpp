// The program from start to exit: command line, set-up order, the first pass
// before the dialog shows, focus signals, and what reaches standard output.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "dialog_harness.h"

namespace tessary::update::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr std::string_view installRequest = "{\"action\":\"install\"}\n";

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
        "NSImage.initWithContentsOfFile(\"" + arguments[2] + "\") -> nil",
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

TEST(RunSequence, IconIsSetOnlyWhenTheFileHoldsAnImage) {
    StatusFolder folder;
    const auto png = (folder.folder() / "icon.png").string();
    const auto text = (folder.folder() / "icon.txt").string();
    std::ofstream(png, std::ios::binary).write("\x89PNG\r\n\x1a\n\0\0\0\0", 12);
    std::ofstream(text) << "not an image\n";

    for (const auto& [path, shown] : std::vector<std::pair<std::string, bool>>{{png, true}, {text, false}}) {
        auto arguments = standardArguments(folder);
        arguments[2] = path;
        const DialogRun run = runDialog(arguments, {Press{1}});
        const bool iconSet = std::count(run.calls.begin(), run.calls.end(), "alert.setIcon(image)") == 1;
        EXPECT_EQ(iconSet, shown) << path;
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

}  // namespace
}  // namespace tessary::update::testing
