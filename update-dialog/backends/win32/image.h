// NSImage from the bytes of an image file: a PNG, or an icon file (.ico) whose
// images are PNGs or bitmaps, decoded by Windows itself
// (CreateIconFromResourceEx). The bytes are kept, so that the icon is drawn
// afresh at each size the screen's scale asks for.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "core/toolkit.h"

namespace tessary::update::win32 {

class IconHandle {
public:
    explicit IconHandle(HICON icon = nullptr) : icon_(icon) {}
    ~IconHandle();
    IconHandle(IconHandle&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    IconHandle& operator=(IconHandle&& other) noexcept;
    HICON get() const { return icon_; }

private:
    HICON icon_;
};

class Win32Image final : public Image {
public:
    // The image the bytes hold, or nullptr when they hold none that Windows decodes.
    static std::unique_ptr<Win32Image> fromBytes(std::string_view bytes);

    // The image as an icon fitted into a square of `size` pixels, its sides
    // in proportion; made once per size. Null only when Windows fails.
    HICON icon(int size);
    // The size the image takes in a square of `size` pixels.
    SIZE fittedSize(int size) const;

private:
    Win32Image(std::string bytes, bool iconFile, SIZE natural);

    std::string bytes_;
    bool iconFile_;
    SIZE natural_;
    std::map<int, IconHandle> icons_;
};

}  // namespace tessary::update::win32
