// Images decoded from the bytes of an image file: PNGs and icon files, drawn
// in proportion at each size; anything else is no image at all.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "image.h"

namespace tessary::update::win32 {
namespace {

// Two PNGs, 4 by 4 and 4 by 2 pixels of one colour.
const std::string squarePng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x04\x00\x00\x00\x04\x08\x06"
    "\x00"
    "\x00\x00\xa9\xf1\x9e\x7e\x00\x00\x00\x12\x49\x44\x41\x54\x78\xda\x63\x38\x21\x27\xf7\x1f\x19\x33\x90\x2e"
    "\x00"
    "\x00\x41\xb8\x20\x31\x01\x47\xa9\x9a\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
    75);
const std::string widePng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x04\x00\x00\x00\x02\x08\x06"
    "\x00"
    "\x00\x00\x7f\xa8\x7d\x63\x00\x00\x00\x12\x49\x44\x41\x54\x78\xda\x63\x38\x21\x27\xf7\x1f\x19\x33\xa0\x0b"
    "\x00"
    "\x00\x0f\x35\x10\x19\x61\xda\xd5\x08\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
    75);

// A PNG of 4 by 4 pixels with a palette of one colour, #e00000.
const std::string palettePng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x04\x00\x00\x00\x04\x08\x03"
    "\x00"
    "\x00\x00\x9e\x2f\x6e\x4c\x00\x00\x00\x03\x50\x4c\x54\x45\xe0\x00\x00\x0e\x98\xed\x7a\x00\x00\x00\x0b\x49"
    "\x44"
    "\x41\x54\x78\xda\x63\x60\xc0\x04\x00\x00\x14\x00\x01\xee\x5a\x69\x09\x00\x00\x00\x00\x49\x45\x4e\x44\xae"
    "\x42"
    "\x60\x82",
    83);

// An icon file holding `png` as its one image, said to be `width` pixels wide.
std::string iconFile(const std::string& png, unsigned char width) {
    std::string file("\0\0\1\0\1\0", 6);
    file += static_cast<char>(width);
    file += static_cast<char>(width);
    file += std::string("\0\0\1\0\x20\0", 6);
    for (const std::size_t value : {png.size(), std::size_t{22}}) {
        for (int byte = 0; byte < 4; ++byte) file += static_cast<char>((value >> (8 * byte)) & 0xFF);
    }
    return file + png;
}

// The colour of the icon's middle pixel, as 0xRRGGBB.
COLORREF middleColour(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return CLR_INVALID;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = -bitmap.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    const std::size_t middle =
        static_cast<std::size_t>(bitmap.bmHeight / 2) * bitmap.bmWidth + bitmap.bmWidth / 2;
    return pixels[middle] & 0xFFFFFF;  // BGRA in memory: 0xAARRGGBB
}

SIZE iconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

TEST(Win32Image, DecodesPngsAndIconFilesAtEachSize) {
    for (const std::string& bytes : {squarePng, iconFile(squarePng, 4)}) {
        auto image = Win32Image::fromBytes(bytes);
        ASSERT_TRUE(image);
        for (const int size : {16, 64, 96}) {
            const HICON icon = image->icon(size);
            ASSERT_NE(icon, nullptr) << size;
            EXPECT_EQ(iconSize(icon).cx, size);
            EXPECT_EQ(image->icon(size), icon);  // made once per size
        }
    }
}

// Every colour type keeps its colours (Wine's own PNG icons swap red and blue in a palette PNG).
TEST(Win32Image, KeepsTheColoursOfEveryKindOfPng) {
    for (const auto& [name, bytes, colour] :
         {std::tuple{"RGBA", squarePng, 0xC81E1Eu}, std::tuple{"palette", palettePng, 0xE00000u}}) {
        auto image = Win32Image::fromBytes(bytes);
        ASSERT_TRUE(image) << name;
        EXPECT_EQ(middleColour(image->icon(32)), colour) << name;
    }
}

TEST(Win32Image, KeepsTheImagesProportions) {
    auto image = Win32Image::fromBytes(widePng);
    ASSERT_TRUE(image);
    const SIZE fitted = image->fittedSize(64);
    EXPECT_EQ(fitted.cx, 64);
    EXPECT_EQ(fitted.cy, 32);
    const SIZE drawn = iconSize(image->icon(64));
    EXPECT_EQ(drawn.cx, 64);
    EXPECT_EQ(drawn.cy, 32);
}

TEST(Win32Image, BytesThatHoldNoImageAreNone) {
    std::string corrupt = squarePng;
    corrupt.replace(41, 20, std::string(20, '\x55'));  // the compressed pixels garbled
    for (const std::string& bytes :
         {std::string(), std::string("not an image\n"), std::string("\x89PNG\r\n\x1a\n\0\0\0\0", 12), corrupt,
          squarePng.substr(0, 40), std::string("\0\0\1\0\1\0", 6), iconFile(squarePng, 4).substr(0, 30)}) {
        EXPECT_FALSE(Win32Image::fromBytes(bytes)) << bytes.size() << " bytes";
    }
}

}  // namespace
}  // namespace tessary::update::win32
