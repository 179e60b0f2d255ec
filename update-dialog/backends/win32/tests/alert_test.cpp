// The alert as Windows holds it after each sequence of toolkit calls: its
// controls and their IDs, texts and styles, where they stand, the keys, and
// the screen's scale.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "progress_bar.h"
#include "toolkit_test_support.h"

namespace tessary::update::win32 {
namespace {

using namespace std::chrono_literals;
using testing::control;
using testing::hasStyle;
using testing::placeOf;
using testing::pumpFor;
using testing::styleOf;
using testing::textOf;

constexpr Rect barFrame{0, 0, 280, 14};

struct Dialog {
    Win32Toolkit toolkit{nullptr};
    std::unique_ptr<Alert> alert;
    std::unique_ptr<ProgressIndicator> bar;
    Button* first = nullptr;

    Dialog() {
        toolkit.sharedApplication();
        alert = toolkit.newAlert();
        alert->setMessageText("Checking for updates…");
        alert->setInformativeText("Tessary 1.4.2");
        first = &alert->addButtonWithTitle("Close");
        bar = toolkit.newProgressIndicatorWithFrame(barFrame);
        bar->setIndeterminate(true);
        bar->startAnimation();
        alert->setAccessoryView(bar.get());
        alert->layout();
    }
    Win32Alert& win32() { return static_cast<Win32Alert&>(*alert); }
    HWND item(int id) { return control(win32(), id); }
};

TEST(Win32Alert, HoldsItsControlsUnderTheirIds) {
    Dialog dialog;
    const auto classOf = [](HWND window) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        return std::wstring(name);
    };
    EXPECT_EQ(textOf(dialog.win32().handle()), L"Tessary Update");
    EXPECT_EQ(classOf(dialog.win32().handle()), L"TessaryUpdateDialog");
    EXPECT_TRUE(hasStyle(dialog.item(100), SS_ICON));
    EXPECT_EQ(textOf(dialog.item(101)), L"Checking for updates\u2026");
    EXPECT_EQ(textOf(dialog.item(102)), L"Tessary 1.4.2");
    EXPECT_EQ(classOf(dialog.item(103)), L"msctls_progress32");
    EXPECT_EQ(textOf(dialog.item(1000)), L"Close");
    // The first button is the one Return presses, shown as the default one.
    EXPECT_EQ(styleOf(dialog.item(1000)) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST(Win32Alert, ButtonsStandAtTheBottomRightTheFirstRightmost) {
    Dialog dialog;
    Button& later = dialog.alert->addButtonWithTitle("Later");
    dialog.first->setTitle("Install & Relaunch");
    dialog.first->setKeyEquivalent("");
    later.setTitle("Later");
    dialog.alert->layout();

    EXPECT_EQ(textOf(dialog.item(1000)), L"Install && Relaunch");  // "&" meant literally
    EXPECT_EQ(styleOf(dialog.item(1000)) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(styleOf(dialog.item(1001)) & BS_TYPEMASK, BS_PUSHBUTTON);
    RECT client{};
    GetClientRect(dialog.win32().handle(), &client);
    const RECT first = placeOf(dialog.item(1000));
    const RECT second = placeOf(dialog.item(1001));
    EXPECT_LT(second.right, first.left);
    EXPECT_EQ(first.top, second.top);
    EXPECT_LE(first.right, client.right);
    EXPECT_GT(first.right, client.right - 30);
    EXPECT_GT(first.top, placeOf(dialog.item(102)).bottom);  // under the texts
    // Wide enough for its title.
    EXPECT_GT(first.right - first.left, second.right - second.left);
}

// The bar shows only while the alert holds it and it is not hidden; as a
// marquee while indeterminate (moving only then), with a range of tenths of a
// percent while determinate.
TEST(Win32Alert, TheBarShowsItsModeOnlyWhileHeld) {
    Dialog dialog;
    const HWND bar = dialog.item(103);
    EXPECT_TRUE(hasStyle(bar, WS_VISIBLE));
    EXPECT_TRUE(hasStyle(bar, PBS_MARQUEE));

    dialog.bar->setIndeterminate(false);
    dialog.bar->setDoubleValue(42.5);
    EXPECT_FALSE(hasStyle(bar, PBS_MARQUEE));
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 1000);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 425);
    dialog.bar->setDoubleValue(250);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 1000);
    dialog.bar->setDoubleValue(-3);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);

    dialog.bar->setHidden(true);
    EXPECT_FALSE(hasStyle(bar, WS_VISIBLE));
    dialog.bar->setHidden(false);
    dialog.alert->setAccessoryView(nullptr);
    EXPECT_FALSE(hasStyle(bar, WS_VISIBLE));
    dialog.bar->setHidden(false);  // not held: still hidden
    EXPECT_FALSE(hasStyle(bar, WS_VISIBLE));

    dialog.bar->setIndeterminate(true);
    dialog.bar->startAnimation();
    dialog.alert->setAccessoryView(dialog.bar.get());
    EXPECT_TRUE(hasStyle(bar, WS_VISIBLE));
    EXPECT_TRUE(hasStyle(bar, PBS_MARQUEE));
}

// Texts set during a pass reach the controls once it is over, in their last
// form; a later change within a state that needs no more room moves nothing.
TEST(Win32Alert, TextsAreShownInTheirLastFormAndMoveNothingThatFits) {
    Dialog dialog;
    dialog.alert->setInformativeText("You can keep using Tessary while the update downloads.");
    dialog.alert->setInformativeText("1.00 KB of 5.00 MB");
    EXPECT_EQ(textOf(dialog.item(102)), L"Tessary 1.4.2");  // the pass is not over yet
    pumpFor(50ms);
    EXPECT_EQ(textOf(dialog.item(102)), L"1.00 KB of 5.00 MB");

    const RECT before = testing::windowRect(dialog.win32());
    const RECT detailBefore = placeOf(dialog.item(102));
    dialog.alert->setInformativeText("2.00 KB of 5.00 MB");
    pumpFor(50ms);
    EXPECT_EQ(textOf(dialog.item(102)), L"2.00 KB of 5.00 MB");
    const RECT after = testing::windowRect(dialog.win32());
    EXPECT_TRUE(EqualRect(&before, &after));
    const RECT detailAfter = placeOf(dialog.item(102));
    EXPECT_TRUE(EqualRect(&detailBefore, &detailAfter));

    // A detail that needs more lines gets them.
    dialog.alert->setInformativeText(std::string(8, '\n') + "end");
    pumpFor(50ms);
    EXPECT_GT(placeOf(dialog.item(102)).bottom, detailAfter.bottom);
}

std::string lines(int count, const std::string& line) {
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? "\n" : "") + line;
    return text;
}

// However long the texts (the longest the dialog lets through), the alert
// stays within the work area; a detail of more than a score of lines scrolls,
// with "\r\n" between its lines.
TEST(Win32Alert, NeverGrowsBeyondTheWorkAreaAndScrollsALongDetail) {
    Dialog dialog;
    dialog.alert->setMessageText("Tessary " + std::string(120, '7') + " is available");
    dialog.alert->setInformativeText(lines(16, std::string(70, 'w') + " " + std::string(70, 'x')));
    dialog.alert->layout();

    const HWND detail = dialog.item(102);
    wchar_t name[16] = {};
    GetClassNameW(detail, name, 16);
    EXPECT_EQ(std::wstring(name), L"Edit");
    EXPECT_TRUE(hasStyle(detail, WS_VSCROLL | ES_MULTILINE | ES_READONLY));
    EXPECT_NE(textOf(detail).find(L"\r\n"), std::wstring::npos);
    const RECT window = testing::windowRect(dialog.win32());
    const RECT area = testing::workAreaOf(dialog.win32());
    EXPECT_GE(window.top, area.top);
    EXPECT_GE(window.left, area.left);
    EXPECT_LE(window.bottom, area.bottom);
    EXPECT_LE(window.right, area.right);

    // Short again: a plain text, and a smaller alert.
    dialog.alert->setInformativeText("Tessary 1.4.2");
    dialog.alert->layout();
    GetClassNameW(dialog.item(102), name, 16);
    EXPECT_EQ(std::wstring(name), L"Static");
    EXPECT_LT(testing::windowRect(dialog.win32()).bottom - testing::windowRect(dialog.win32()).top,
              window.bottom - window.top);
}

// Moved to a monitor of 150 %: everything grows in proportion, and the alert
// still fits.
TEST(Win32Alert, ScalesWithTheMonitorItIsMovedTo) {
    Dialog dialog;
    const RECT button = placeOf(dialog.item(1000));
    const RECT headline = placeOf(dialog.item(101));
    const RECT window = testing::windowRect(dialog.win32());
    const UINT dpi = dialog.win32().dpi();
    const UINT higher = dpi * 3 / 2;
    RECT suggested = window;
    SendMessageW(dialog.win32().handle(), WM_DPICHANGED, MAKEWPARAM(higher, higher),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(dialog.win32().dpi(), higher);
    const RECT scaledButton = placeOf(dialog.item(1000));
    const RECT scaledHeadline = placeOf(dialog.item(101));
    EXPECT_NEAR(scaledButton.bottom - scaledButton.top, (button.bottom - button.top) * 3 / 2, 2);
    EXPECT_NEAR(scaledHeadline.right - scaledHeadline.left, (headline.right - headline.left) * 3 / 2, 2);
    EXPECT_GT(scaledHeadline.bottom - scaledHeadline.top, headline.bottom - headline.top);  // a larger font
    const RECT scaled = testing::windowRect(dialog.win32());
    EXPECT_GT(scaled.right - scaled.left, window.right - window.left);
}

struct KeyCase {
    const char* name;
    std::string firstKeyEquivalent;
    std::vector<std::pair<WPARAM, bool>> keys;  // typed one after another; repeats as held keys
    ModalResponse expected;
};

class Win32AlertKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(Win32AlertKeys, ReturnPressesOnlyTheButtonWhoseKeyEquivalentIsReturn) {
    const KeyCase& keyCase = GetParam();
    Dialog dialog;
    dialog.alert->addButtonWithTitle("Later");
    dialog.first->setTitle("Install & Relaunch");
    dialog.first->setKeyEquivalent(keyCase.firstKeyEquivalent);
    std::vector<std::unique_ptr<Timer>> steps;
    double at = 0.1;
    for (const auto& [key, repeat] : keyCase.keys) {
        steps.push_back(testing::during(dialog.toolkit, at, [&, key = key, repeat = repeat] {
            testing::pressKey(dialog.win32(), key, repeat);
        }));
        at += 0.1;
    }
    // Whatever the keys did not end, the test does.
    steps.push_back(
        testing::during(dialog.toolkit, at + 0.3, [&] { dialog.toolkit.runLoop().requestStop(-1); }));
    EXPECT_EQ(dialog.alert->runModal(), keyCase.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Win32AlertKeys,
    ::testing::Values(
        KeyCase{"ReturnOnTheDefault", "\r", {{VK_RETURN, false}}, alertFirstButtonReturn},
        KeyCase{"ReturnWithoutEquivalent", "", {{VK_RETURN, false}}, -1},
        KeyCase{"ReturnOnTheFocusedOfferAfterTab",
                "",
                {{VK_TAB, false}, {VK_TAB, false}, {VK_RETURN, false}},
                -1},
        KeyCase{"EscapeIsNeverTheFirstButton", "\r", {{VK_ESCAPE, false}}, modalResponseCancel},
        KeyCase{"EscapeWithoutEquivalent", "", {{VK_RETURN, false}, {VK_ESCAPE, false}}, modalResponseCancel},
        KeyCase{"AHeldReturnPressesNothing", "\r", {{VK_RETURN, true}}, -1},
        KeyCase{"SpacePressesTheFocusedButton",
                "\r",
                {{VK_TAB, false}, {VK_SPACE, false}},
                alertSecondButtonReturn}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

// The keyboard focus and an offer: Space presses the focused button, so the
// button Return no longer presses ("Install & Relaunch") must never hold the
// focus unless the user put it there.
enum class FocusStep {
    offer,  // a pass as the timer runs it: the first button retitled, Return taken from it, "Later" added
    offerAlone,  // the same without a second button
    samePass,    // a later pass of the same offer: the same title and key equivalent set again
    away,        // another window of the program becomes the active one
    back,        // the alert is active again
    tab,
    space,
};

struct FocusCase {
    const char* name;
    bool offerBeforeShown;  // the first pass, before the dialog is on screen, offers an install
    std::vector<FocusStep> steps;
    ModalResponse expected;  // -1: nothing pressed
};

void PrintTo(const FocusCase& focusCase, std::ostream* out) {
    *out << focusCase.name;
}

class Win32AlertFocus : public ::testing::TestWithParam<FocusCase> {};

void offerPass(Dialog& dialog, bool withLater) {
    dialog.first->setTitle("Install & Relaunch");
    dialog.first->setKeyEquivalent("");
    dialog.alert->setMessageText("Tessary 2.0.0 is available");
    if (withLater && dialog.alert->buttonsCount() == 1) dialog.alert->addButtonWithTitle("Later");
    dialog.alert->layout();
}

TEST_P(Win32AlertFocus, SpaceConfirmsTheInstallOnlyWhereTheUserPutTheFocus) {
    const FocusCase& focusCase = GetParam();
    Dialog dialog;
    if (focusCase.offerBeforeShown) offerPass(dialog, true);
    const HWND other = CreateWindowExW(0, WC_STATICW, L"Another window", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    const std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)> otherWindow(other,
                                                                                             DestroyWindow);
    std::vector<std::unique_ptr<Timer>> steps;
    double at = 0.2;
    for (const FocusStep step : focusCase.steps) {
        steps.push_back(testing::during(dialog.toolkit, at, [&, step] {
            switch (step) {
                case FocusStep::offer:
                case FocusStep::samePass:
                    offerPass(dialog, true);
                    break;
                case FocusStep::offerAlone:
                    offerPass(dialog, false);
                    break;
                case FocusStep::away:
                    ShowWindow(other, SW_SHOW);
                    SetActiveWindow(other);
                    break;
                case FocusStep::back:
                    ShowWindow(other, SW_HIDE);
                    SetActiveWindow(dialog.win32().handle());
                    break;
                case FocusStep::tab:
                    testing::pressKey(dialog.win32(), VK_TAB);
                    break;
                case FocusStep::space:
                    testing::pressKey(dialog.win32(), VK_SPACE);
                    break;
            }
        }));
        at += 0.2;
    }
    steps.push_back(
        testing::during(dialog.toolkit, at + 0.3, [&] { dialog.toolkit.runLoop().requestStop(-1); }));
    EXPECT_EQ(dialog.alert->runModal(), focusCase.expected);
}

using enum FocusStep;
INSTANTIATE_TEST_SUITE_P(
    Focus, Win32AlertFocus,
    ::testing::Values(
        FocusCase{"SpaceOnCloseCloses", false, {space}, alertFirstButtonReturn},
        FocusCase{"SpaceRightAfterAnOfferPressesLater", false, {offer, space}, alertSecondButtonReturn},
        FocusCase{"SpaceOnAnOfferFromTheFirstFramePressesLater", true, {space}, alertSecondButtonReturn},
        FocusCase{"SpaceOnAnOfferWithoutASecondButtonPressesNothing", false, {offerAlone, space}, -1},
        FocusCase{"TabThenSpaceConfirms", false, {offer, tab, space}, alertFirstButtonReturn},
        FocusCase{"TheChosenFocusStaysThroughLaterPasses",
                  false,
                  {offer, tab, samePass, samePass, space},
                  alertFirstButtonReturn},
        FocusCase{"TheChosenFocusComesBackWithTheWindow",
                  false,
                  {offer, tab, away, back, space},
                  alertFirstButtonReturn},
        FocusCase{"AnOfferWhileAwayDoesNotGetTheFocusBack",
                  false,
                  {away, offer, back, space},
                  alertSecondButtonReturn},
        FocusCase{"TabFromNowhereReachesTheOffer", false, {offerAlone, tab, space}, alertFirstButtonReturn}),
    [](const ::testing::TestParamInfo<FocusCase>& info) { return std::string(info.param.name); });

TEST(Win32Alert, TheCloseBoxEndsLikeEscape) {
    Dialog dialog;
    const auto step =
        testing::during(dialog.toolkit, 0.1, [&] { PostMessageW(dialog.win32().handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(dialog.alert->runModal(), modalResponseCancel);
    // Off the screen once the loop is over, and still there.
    EXPECT_FALSE(IsWindowVisible(dialog.win32().handle()));
    EXPECT_TRUE(IsWindow(dialog.win32().handle()));
}

TEST(Win32Alert, AMinimizedDialogComesBackInFront) {
    Dialog dialog;
    bool restored = false;
    const auto minimize =
        testing::during(dialog.toolkit, 0.1, [&] { ShowWindow(dialog.win32().handle(), SW_MINIMIZE); });
    const auto focus = testing::during(dialog.toolkit, 0.4, [&] {
        dialog.alert->window().makeKeyAndOrderFront();
        restored = !IsIconic(dialog.win32().handle()) && IsWindowVisible(dialog.win32().handle());
        dialog.toolkit.runLoop().requestStop(alertFirstButtonReturn);
    });
    EXPECT_EQ(dialog.alert->runModal(), alertFirstButtonReturn);
    EXPECT_TRUE(restored);
}

// The objects of the toolkit may go in any order, and whatever is left keeps working.
TEST(Win32Alert, ObjectsMayBeDestroyedInAnyOrder) {
    std::vector<int> order{0, 1, 2, 3};
    do {
        Dialog dialog;
        auto timer = dialog.toolkit.timerWithTimeInterval(0.25, true, [](Timer&) {});
        auto source = dialog.toolkit.signalSourceOnMainQueue(30);
        dialog.toolkit.addTimerToMainRunLoopCommonModes(*timer);
        source->resume();
        for (const int step : order) {
            if (step == 0) dialog.alert.reset();
            if (step == 1) dialog.bar.reset();
            if (step == 2) timer.reset();
            if (step == 3) source.reset();
            if (dialog.alert) {
                dialog.alert->setAccessoryView(dialog.bar.get());
                dialog.alert->layout();
            }
            if (dialog.bar) dialog.bar->setDoubleValue(50);
            if (timer) timer->invalidate();
        }
        pumpFor(10ms);
    } while (std::next_permutation(order.begin(), order.end()));
}

}  // namespace
}  // namespace tessary::update::win32
