#include "alert_layout.h"

#include <algorithm>

namespace tessary::update::win32 {
namespace {

int scaled(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

}  // namespace

AlertMetrics AlertMetrics::scaledTo(UINT dpi) const {
    const auto at = [dpi](int value) { return scaled(value, dpi); };
    AlertMetrics out;
    out.margin = at(margin);
    out.iconSize = at(iconSize);
    out.iconGap = at(iconGap);
    out.textWidth = at(textWidth);
    out.narrowestText = at(narrowestText);
    out.headlineGap = at(headlineGap);
    out.barGap = at(barGap);
    out.footerPadding = at(footerPadding);
    out.buttonHeight = at(buttonHeight);
    out.buttonMinimumWidth = at(buttonMinimumWidth);
    out.buttonTextPadding = at(buttonTextPadding);
    out.buttonGap = at(buttonGap);
    out.scrollBarGap = at(scrollBarGap);
    return out;
}

AlertGeometry layOutAlert(const AlertMeasures& measures) {
    const AlertMetrics& m = measures.metrics;
    AlertGeometry out;

    // The buttons' band: each button as wide as its title asks, at least the minimum.
    std::vector<int> buttonWidths;
    int buttonsWidth = 0;
    for (const int title : measures.buttonTitleWidths) {
        buttonWidths.push_back(std::max(m.buttonMinimumWidth, title + 2 * m.buttonTextPadding));
        buttonsWidth += buttonWidths.back();
    }
    if (!buttonWidths.empty()) buttonsWidth += m.buttonGap * static_cast<int>(buttonWidths.size() - 1);
    const int footerHeight = m.footerPadding * 2 + m.buttonHeight;

    // The width: the text column as wide as the work area allows, and the bar and the buttons fitted.
    const int textLeft = m.margin + m.iconSize + m.iconGap;
    const int widthAvailable = measures.workArea.cx - measures.frame.cx;
    int textWidth = std::min(m.textWidth, widthAvailable - textLeft - m.margin);
    textWidth = std::max(textWidth, m.narrowestText);
    int clientWidth = textLeft + textWidth + m.margin;
    if (measures.barShown)
        clientWidth = std::max(clientWidth, textLeft + static_cast<int>(measures.barSize.cx) + m.margin);
    clientWidth = std::max(clientWidth, buttonsWidth + 2 * m.footerPadding);
    clientWidth = std::min(clientWidth, std::max(widthAvailable, 1));

    // The height: the detail as tall as it is, up to a score of lines, and less
    // when the work area is short of room (but a few lines at least).
    const int headlineHeight = std::max(measures.headlineHeight(textWidth), measures.detailLineHeight);
    const int detailFull = std::max(measures.detailHeight(textWidth), measures.detailLineHeight);
    const int barHeight = measures.barShown ? m.barGap + static_cast<int>(measures.barSize.cy) : 0;
    const auto clientHeightFor = [&](int detail) {
        const int texts = headlineHeight + m.headlineGap + detail + barHeight;
        return m.margin + std::max(texts, m.iconSize) + m.margin + footerHeight;
    };
    const int heightAvailable = measures.workArea.cy - measures.frame.cy;
    int detail = std::min(detailFull, detailLinesShown * measures.detailLineHeight);
    const int overflow = clientHeightFor(detail) - heightAvailable;
    if (overflow > 0)
        detail =
            std::max(detail - overflow, std::min(detail, detailLinesAtLeast * measures.detailLineHeight));
    out.detailScrolls = detail < detailFull;
    out.detailTextWidth = textWidth;
    if (out.detailScrolls) {
        // The scroll bar takes its width from the text, so the alert keeps its width.
        out.detailTextWidth = textWidth - measures.scrollBarWidth - m.scrollBarGap;
    }
    out.client = {clientWidth, std::min(clientHeightFor(detail), std::max(heightAvailable, 1))};

    // The icon, centred in its square; the texts and the bar beside it.
    const int iconLeft = m.margin + (m.iconSize - static_cast<int>(measures.iconSize.cx)) / 2;
    const int iconTop = m.margin + (m.iconSize - static_cast<int>(measures.iconSize.cy)) / 2;
    out.icon = {iconLeft, iconTop, iconLeft + measures.iconSize.cx, iconTop + measures.iconSize.cy};
    int top = m.margin;
    out.headline = {textLeft, top, textLeft + textWidth, top + headlineHeight};
    top += headlineHeight + m.headlineGap;
    out.detail = {textLeft, top, textLeft + textWidth, top + detail};
    top += detail;
    if (measures.barShown) {
        top += m.barGap;
        out.bar = {textLeft, top, textLeft + measures.barSize.cx, top + measures.barSize.cy};
    }

    // The band along the bottom; the first button rightmost, each later one to its left.
    out.footerTop = out.client.cy - footerHeight;
    int right = clientWidth - m.footerPadding;
    const int buttonTop = out.footerTop + m.footerPadding;
    for (const int width : buttonWidths) {
        out.buttons.push_back({right - width, buttonTop, right, buttonTop + m.buttonHeight});
        right -= width + m.buttonGap;
    }
    return out;
}

}  // namespace tessary::update::win32
