// NSImage from the bytes of an image file, decoded by the Windows Imaging
// Component: PNG in every colour type, JPEG, BMP, GIF, TIFF, and icon files
// (.ico), whose best image for each size is taken. The decoder is kept, so
// that the icon is drawn afresh at each size the screen's scale asks for.
#pragma once

#include <windows.h>

#include <wincodec.h>
#include <wrl/client.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
    // The image the bytes hold, or nullptr when they hold none that decodes whole.
    static std::unique_ptr<Win32Image> fromBytes(std::string_view bytes);

    // The image as an icon fitted into a square of `size` pixels, its sides
    // in proportion; made once per size. Null only when Windows fails.
    HICON icon(int size);
    // The size the image takes in a square of `size` pixels.
    SIZE fittedSize(int size) const;

private:
    struct Frame {
        Microsoft::WRL::ComPtr<IWICBitmapFrameDecode> source;
        SIZE size;
    };
    Win32Image(std::string bytes, Microsoft::WRL::ComPtr<IWICImagingFactory> factory);
    bool decode();
    const Frame& frameFor(int size) const;

    std::string bytes_;  // the decoder reads them as long as the image lives
    Microsoft::WRL::ComPtr<IWICImagingFactory> factory_;
    Microsoft::WRL::ComPtr<IWICStream> stream_;
    Microsoft::WRL::ComPtr<IWICBitmapDecoder> decoder_;
    std::vector<Frame> frames_;
    std::map<int, IconHandle> icons_;
};

}  // namespace tessary::update::win32
