#include "fonts.h"

namespace tessary::update::win32 {

void makeAlertFonts(AlertFonts& fonts, UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        // The stock font at the scale asked for, should the system not say.
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof metrics.lfMessageFont, &metrics.lfMessageFont);
        metrics.lfMessageFont.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
    }
    fonts.message = FontHandle(CreateFontIndirectW(&metrics.lfMessageFont));
    metrics.lfMessageFont.lfWeight = FW_BOLD;
    fonts.bold = FontHandle(CreateFontIndirectW(&metrics.lfMessageFont));
}

}  // namespace tessary::update::win32
