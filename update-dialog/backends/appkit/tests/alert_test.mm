// The AppKit toolkit builds a real NSAlert with its buttons, window, icon and bar, without showing
// any of them, and each call leaves on the AppKit object what the dialog asked for.
#import <AppKit/AppKit.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alert.h"
#include "appkit_toolkit.h"
#include "ns_string.h"
#include "views.h"

namespace tessary::update::appkit {
namespace {

// A PNG file of two pixels, as an icon file holds an image.
const std::string pngBytes(
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00\x00\x01\x08\x06"
    "\x00\x00\x00\xF4\x22\x7F\x8A\x00\x00\x00\x0E\x49\x44\x41\x54\x78\x9C\x63\x90\xCF\xDF\xFA\x1F\x84\x01\x11"
    "\x75\x04\x85\x18\x45\xB3\xDD\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82",
    71);

NSAlert* nsAlertOf(Alert& alert) {
    return dynamic_cast<AppKitAlert&>(alert).nsAlert();
}

NSButton* nsButtonOf(Button& button) {
    return dynamic_cast<AppKitButton&>(button).nsButton();
}

struct TextCase {
    const char* name;
    std::string utf8;   // what the dialog passes
    NSUInteger length;  // UTF-16 code units of the string AppKit gets
    unichar first;      // its first code unit
    std::string shown;  // the string AppKit gets, back in UTF-8
};

// Every character arrives, U+FEFF and U+200B included; ill-formed bytes are shown as U+FFFD rather
// than dropping the text.
const std::vector<TextCase> textCases{
    {"ASCII", "Tessary 1.4.2", 13, u'T', "Tessary 1.4.2"},
    {"U+2019", "Tessary couldn\xE2\x80\x99t update", 23, u'T', "Tessary couldn\xE2\x80\x99t update"},
    {"U+2026", "Checking for updates\xE2\x80\xA6", 21, u'C', "Checking for updates\xE2\x80\xA6"},
    {"leading U+FEFF", "\xEF\xBB\xBF" + std::string("2.0.0"), 6, 0xFEFF,
     "\xEF\xBB\xBF" + std::string("2.0.0")},
    {"leading U+200B", "\xE2\x80\x8B" + std::string("2.0.0"), 6, 0x200B,
     "\xE2\x80\x8B" + std::string("2.0.0")},
    {"U+1F600", "\xF0\x9F\x98\x80", 2, 0xD83D, "\xF0\x9F\x98\x80"},
    {"ill-formed", "1.4\xFF", 4, u'1', "1.4\xEF\xBF\xBD"},
    {"empty", "", 0, 0, ""},
};

void expectText(NSString* string, const TextCase& test) {
    ASSERT_NE(string, nil) << test.name;
    EXPECT_EQ(string.length, test.length) << test.name;
    if (test.length > 0) EXPECT_EQ([string characterAtIndex:0], test.first) << test.name;
    EXPECT_EQ(utf8FromString(string), test.shown) << test.name;
}

// As in the dialog's run sequence, the application object exists before any alert or window.
class AppKitToolkitTest : public ::testing::Test {
protected:
    void SetUp() override { toolkit.sharedApplication(); }

    AppKitToolkit toolkit;
};

TEST_F(AppKitToolkitTest, AlertStartsWithoutButtonsOrAccessoryView) {
    const std::unique_ptr<Alert> alert = toolkit.newAlert();
    EXPECT_EQ(alert->buttonsCount(), 0U);
    EXPECT_EQ(nsAlertOf(*alert).buttons.count, 0U);
    EXPECT_EQ(nsAlertOf(*alert).accessoryView, nil);
}

TEST_F(AppKitToolkitTest, AlertTextsArriveWithEveryCharacter) {
    const std::unique_ptr<Alert> alert = toolkit.newAlert();
    for (const TextCase& test : textCases) {
        alert->setMessageText(test.utf8);
        alert->setInformativeText(test.utf8);
        expectText(nsAlertOf(*alert).messageText, test);
        expectText(nsAlertOf(*alert).informativeText, test);
    }
}

TEST_F(AppKitToolkitTest, AlertStyleIsThePlatformsNumber) {
    const std::unique_ptr<Alert> alert = toolkit.newAlert();
    const std::vector<std::pair<AlertStyle, NSAlertStyle>> styles{
        {AlertStyle::informational, NSAlertStyleInformational},
        {AlertStyle::warning, NSAlertStyleWarning},
        {AlertStyle::critical, NSAlertStyleCritical},
    };
    for (const auto& [style, expected] : styles) {
        alert->setAlertStyle(style);
        EXPECT_EQ(nsAlertOf(*alert).alertStyle, expected);
    }
}

TEST_F(AppKitToolkitTest, ButtonsAreAddedInOrderAndTakeTitleAndKey) {
    const std::unique_ptr<Alert> alert = toolkit.newAlert();
    Button& first = alert->addButtonWithTitle("Close");
    Button& second = alert->addButtonWithTitle("Later");
    NSAlert* nsAlert = nsAlertOf(*alert);

    ASSERT_EQ(alert->buttonsCount(), 2U);
    ASSERT_EQ(nsAlert.buttons.count, 2U);
    EXPECT_EQ([nsAlert.buttons objectAtIndex:0], nsButtonOf(first));
    EXPECT_EQ([nsAlert.buttons objectAtIndex:1], nsButtonOf(second));
    EXPECT_EQ(utf8FromString(nsButtonOf(second).title), "Later");

    first.setTitle("Install & Relaunch");
    EXPECT_EQ(utf8FromString(nsButtonOf(first).title), "Install & Relaunch");
    for (const std::string key : {"", "\r", ""}) {
        first.setKeyEquivalent(key);
        EXPECT_EQ(utf8FromString(nsButtonOf(first).keyEquivalent), key);
    }
}

TEST_F(AppKitToolkitTest, AlertAccessoryViewIsTheBarOrNothing) {
    const std::unique_ptr<Alert> alert = toolkit.newAlert();
    const std::unique_ptr<ProgressIndicator> bar = toolkit.newProgressIndicatorWithFrame({0, 0, 280, 14});
    NSProgressIndicator* indicator = dynamic_cast<AppKitProgressIndicator&>(*bar).nsProgressIndicator();

    alert->setAccessoryView(bar.get());
    EXPECT_EQ(nsAlertOf(*alert).accessoryView, indicator);
    alert->layout();
    EXPECT_EQ(nsAlertOf(*alert).accessoryView, indicator);
    alert->setAccessoryView(nullptr);
    EXPECT_EQ(nsAlertOf(*alert).accessoryView, nil);
    alert->layout();
}

TEST_F(AppKitToolkitTest, AlertWindowIsTheAlertsOwnAndHandedOutOnce) {
    const std::unique_ptr<Alert> alert = toolkit.newAlert();
    Window& window = alert->window();
    EXPECT_EQ(&alert->window(), &window);
    NSWindow* nsWindow = dynamic_cast<AppKitWindow&>(window).nsWindow();
    EXPECT_NE(nsWindow, nil);
    EXPECT_EQ(nsWindow, nsAlertOf(*alert).window);
}

TEST_F(AppKitToolkitTest, AlertIconIsTheImageDecodedFromTheFilesBytes) {
    const std::unique_ptr<Alert> alert = toolkit.newAlert();
    const std::unique_ptr<Image> icon = toolkit.newImageWithData(pngBytes);
    ASSERT_NE(icon, nullptr);
    alert->setIcon(*icon);
    EXPECT_EQ(nsAlertOf(*alert).icon, dynamic_cast<AppKitImage&>(*icon).nsImage());
}

TEST_F(AppKitToolkitTest, ImageIsMadeOnlyFromBytesThatHoldAnImage) {
    const std::vector<std::pair<std::string, bool>> cases{
        {pngBytes, true},
        {"", false},
        {"Tessary 1.4.2\n", false},
        {std::string(64, '\0'), false},
    };
    for (const auto& [bytes, isImage] : cases) {
        EXPECT_EQ(toolkit.newImageWithData(bytes) != nullptr, isImage) << bytes.size() << " bytes";
    }
}

TEST_F(AppKitToolkitTest, BarHasTheGivenFrameAndTakesEachSetting) {
    const std::unique_ptr<ProgressIndicator> bar = toolkit.newProgressIndicatorWithFrame({0, 0, 280, 14});
    NSProgressIndicator* indicator = dynamic_cast<AppKitProgressIndicator&>(*bar).nsProgressIndicator();
    EXPECT_EQ(indicator.frame.origin.x, 0);
    EXPECT_EQ(indicator.frame.origin.y, 0);
    EXPECT_EQ(indicator.frame.size.width, 280);
    EXPECT_EQ(indicator.frame.size.height, 14);
    // The range the dialog's percentages rely on: never changed, so the platform's default.
    EXPECT_EQ(indicator.minValue, 0);
    EXPECT_EQ(indicator.maxValue, 100);

    bar->setStyle(ProgressIndicatorStyle::bar);
    EXPECT_EQ(indicator.style, NSProgressIndicatorStyleBar);
    bar->setIndeterminate(true);
    EXPECT_TRUE(indicator.indeterminate);
    bar->startAnimation();
    bar->setIndeterminate(false);
    EXPECT_FALSE(indicator.indeterminate);
    for (const double value : {0.0, 37.5, 100.0}) {
        bar->setDoubleValue(value);
        EXPECT_EQ(indicator.doubleValue, value);
    }
    bar->setHidden(true);
    EXPECT_TRUE(indicator.hidden);
    bar->setHidden(false);
    EXPECT_FALSE(indicator.hidden);
}

}  // namespace
}  // namespace tessary::update::appkit
