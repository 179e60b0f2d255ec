// The alert's fonts at a scale: the system's message font, and the same in
// bold for the headline, as Windows' own message boxes use them.
#pragma once

#include <windows.h>

namespace tessary::update::win32 {

class FontHandle {
public:
    explicit FontHandle(HFONT font = nullptr) : font_(font) {}
    ~FontHandle() {
        if (font_ != nullptr) DeleteObject(font_);
    }
    FontHandle(const FontHandle&) = delete;
    FontHandle& operator=(const FontHandle&) = delete;
    FontHandle& operator=(FontHandle&& other) noexcept {
        if (this != &other) {
            if (font_ != nullptr) DeleteObject(font_);
            font_ = other.font_;
            other.font_ = nullptr;
        }
        return *this;
    }
    HFONT get() const { return font_; }

private:
    HFONT font_;
};

struct AlertFonts {
    FontHandle message;
    FontHandle bold;
};

// The fonts for `dpi` dots per inch.
void makeAlertFonts(AlertFonts& fonts, UINT dpi);

}  // namespace tessary::update::win32
