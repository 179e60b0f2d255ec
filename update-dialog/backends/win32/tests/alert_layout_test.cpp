// Where the alert's parts go, from measured sizes alone: within the work area
// whatever the texts, a long detail scrolling, the bar under the texts only
// when shown, the buttons along the bottom with the first one rightmost.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "alert_layout.h"

namespace tessary::update::win32 {
namespace {

constexpr int line = 16;

// Texts that take `headlineLines` and `detailLines` lines at the usual width
// (and more lines when narrower).
AlertMeasures measures(int headlineLines, int detailLines, SIZE workArea, bool bar = false) {
    AlertMeasures m;
    m.metrics = AlertMetrics{}.scaledTo(96);
    const int usual = m.metrics.textWidth;
    m.headlineHeight = [=](int width) {
        return headlineLines * line * std::max(1, usual / std::max(width, 1));
    };
    m.detailHeight = [=](int width) { return detailLines * line * std::max(1, usual / std::max(width, 1)); };
    m.detailLineHeight = line;
    m.scrollBarWidth = 17;
    m.buttonTitleWidths = {110, 30};
    m.barShown = bar;
    m.barSize = {280, 14};
    m.iconSize = {64, 64};
    m.frame = {6, 30};
    m.workArea = workArea;
    return m;
}

bool within(const RECT& inner, SIZE outer) {
    return inner.left >= 0 && inner.top >= 0 && inner.right <= outer.cx && inner.bottom <= outer.cy;
}

TEST(AlertLayout, StaysWithinTheWorkAreaAndScrollsWhatDoesNotFit) {
    struct Case {
        const char* name;
        int headlineLines;
        int detailLines;
        SIZE workArea;
        bool scrolls;
    };
    const std::vector<Case> cases{
        {"a line of detail", 1, 1, {1024, 738}, false},
        {"a score of lines", 1, 20, {1024, 738}, false},
        {"more than a score of lines", 1, 21, {1024, 738}, true},
        {"a long headline and detail on a short screen", 3, 20, {1024, 400}, true},
        {"a narrow screen", 2, 2, {380, 738}, false},
        {"a tiny screen", 3, 40, {300, 200}, true},
    };
    for (const Case& c : cases) {
        const AlertGeometry g = layOutAlert(measures(c.headlineLines, c.detailLines, c.workArea));
        EXPECT_LE(g.client.cx + 6, std::max<LONG>(c.workArea.cx, 7)) << c.name;
        EXPECT_LE(g.client.cy + 30, std::max<LONG>(c.workArea.cy, 31)) << c.name;
        EXPECT_EQ(g.detailScrolls, c.scrolls) << c.name;
        if (c.scrolls) {
            EXPECT_LT(g.detailTextWidth, g.detail.right - g.detail.left) << c.name;
        }
        for (const RECT& part : {g.icon, g.headline, g.detail}) EXPECT_TRUE(within(part, g.client)) << c.name;
        if (c.scrolls && c.workArea.cy >= 400) {  // a scrolled detail keeps a few lines
            EXPECT_GE(g.detail.bottom - g.detail.top, 3 * line) << c.name;
        }
    }
}

TEST(AlertLayout, TheBarStandsUnderTheTextsOnlyWhenShown) {
    const AlertGeometry without = layOutAlert(measures(1, 2, {1024, 738}));
    const AlertGeometry with = layOutAlert(measures(1, 2, {1024, 738}, true));
    EXPECT_GT(with.bar.top, with.detail.bottom);
    EXPECT_EQ(with.bar.right - with.bar.left, 280);
    EXPECT_EQ(with.bar.bottom - with.bar.top, 14);
    EXPECT_LT(with.bar.bottom, with.footerTop);
    EXPECT_EQ(without.detail.bottom, with.detail.bottom);
}

TEST(AlertLayout, ButtonsStandInTheBandFirstRightmost) {
    const AlertGeometry g = layOutAlert(measures(1, 1, {1024, 738}));
    ASSERT_EQ(g.buttons.size(), 2u);
    const RECT& first = g.buttons[0];
    const RECT& second = g.buttons[1];
    EXPECT_EQ(first.right, g.client.cx - 12);
    EXPECT_LT(second.right, first.left);
    EXPECT_EQ(first.right - first.left, 110 + 24);  // as wide as its title asks
    EXPECT_EQ(second.right - second.left, 75);      // at least the usual width
    EXPECT_GT(first.top, g.footerTop);
    EXPECT_LE(first.bottom, g.client.cy);
    EXPECT_GE(g.footerTop, std::max(g.detail.bottom, g.icon.bottom));
}

// Twice the scale, twice the sizes.
TEST(AlertLayout, ScalesWithTheMonitor) {
    AlertMeasures normal = measures(1, 1, {2048, 1476});
    AlertMeasures doubled = normal;
    doubled.metrics = AlertMetrics{}.scaledTo(192);
    doubled.detailLineHeight = 2 * line;
    doubled.headlineHeight = [](int) { return 2 * line; };
    doubled.detailHeight = [](int) { return 2 * line; };
    doubled.buttonTitleWidths = {220, 60};
    doubled.iconSize = {128, 128};
    doubled.barSize = {560, 28};
    const AlertGeometry one = layOutAlert(normal);
    const AlertGeometry two = layOutAlert(doubled);
    EXPECT_EQ(two.client.cx, 2 * one.client.cx);
    EXPECT_EQ(two.client.cy, 2 * one.client.cy);
    EXPECT_EQ(two.buttons[0].left, 2 * one.buttons[0].left);
}

}  // namespace
}  // namespace tessary::update::win32
