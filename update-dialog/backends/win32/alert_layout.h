// Where everything in the alert goes, worked out from measured sizes alone:
// the icon at the left, the bold headline above the detail text, the bar under
// them when it is shown, and the buttons in a band along the bottom, the first
// one rightmost. The alert never grows beyond the work area of its monitor: a
// detail text too long for it (or longer than a score of lines) scrolls in the
// room left, and a narrow work area narrows the text.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace tessary::update::win32 {

// Sizes in pixels at 96 dots per inch, scaled to the monitor's.
struct AlertMetrics {
    int margin = 20;
    int iconSize = 64;
    int iconGap = 16;  // between the icon and the texts
    int textWidth = 320;
    int narrowestText = 120;  // the text column never narrows beyond this
    int headlineGap = 6;      // between the headline and the detail
    int barGap = 12;          // between the detail and the bar
    int footerPadding = 12;   // around the buttons in their band
    int buttonHeight = 23;
    int buttonMinimumWidth = 75;
    int buttonTextPadding = 12;  // on either side of a button's title
    int buttonGap = 8;
    int scrollBarGap = 4;  // between scrolled text and its scroll bar

    AlertMetrics scaledTo(UINT dpi) const;
};

// Lines of detail shown before it scrolls, and kept however small the screen.
inline constexpr int detailLinesShown = 20;
inline constexpr int detailLinesAtLeast = 3;

struct AlertMeasures {
    AlertMetrics metrics;                          // already scaled
    std::function<int(int width)> headlineHeight;  // the headline wrapped to `width`
    std::function<int(int width)> detailHeight;    // the detail text wrapped to `width`
    int detailLineHeight = 0;
    int scrollBarWidth = 0;
    std::vector<int> buttonTitleWidths;  // first button first
    bool barShown = false;
    SIZE barSize{};   // already scaled
    SIZE iconSize{};  // the icon as drawn, within the icon square; already scaled
    SIZE frame{};     // what the window's frame adds to its client area
    SIZE workArea{};  // the monitor's work area
};

struct AlertGeometry {
    SIZE client{};
    RECT icon{};
    RECT headline{};
    RECT detail{};
    bool detailScrolls = false;
    int detailTextWidth = 0;  // the width the detail wraps at (less the scroll bar when it scrolls)
    RECT bar{};
    int footerTop = 0;
    std::vector<RECT> buttons;  // first button first
};

AlertGeometry layOutAlert(const AlertMeasures& measures);

}  // namespace tessary::update::win32
