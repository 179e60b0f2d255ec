#include "image.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace tessary::update::win32 {
namespace {

constexpr std::string_view pngSignature = "\x89PNG\r\n\x1a\n";
constexpr DWORD iconFormatVersion = 0x00030000;  // what CreateIconFromResourceEx asks for

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, std::size_t length) {
    std::uint32_t value = 0;
    for (std::size_t i = length; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint32_t bigEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// A PNG's own width and height, from its header chunk.
std::optional<SIZE> pngSize(std::string_view bytes) {
    if (bytes.size() < 24 || !bytes.starts_with(pngSignature) || bytes.substr(12, 4) != "IHDR")
        return std::nullopt;
    const std::uint32_t width = bigEndian32(bytes, 16);
    const std::uint32_t height = bigEndian32(bytes, 20);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return std::nullopt;
    return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

struct IconEntry {
    std::string_view image;  // a PNG, or a bitmap as in an icon resource
    int width;
};

// The images of an icon file: a header (0, 1, count), then 16 bytes per image
// (width and height, 0 for 256, ..., the size and the offset of its data).
std::vector<IconEntry> iconFileEntries(std::string_view bytes) {
    std::vector<IconEntry> entries;
    if (bytes.size() < 6 || littleEndian(bytes, 0, 2) != 0 || littleEndian(bytes, 2, 2) != 1) return entries;
    const std::size_t count = littleEndian(bytes, 4, 2);
    if (bytes.size() < 6 + 16 * count) return entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int width =
            static_cast<unsigned char>(bytes[entry]) == 0 ? 256 : static_cast<unsigned char>(bytes[entry]);
        const std::size_t size = littleEndian(bytes, entry + 8, 4);
        const std::size_t offset = littleEndian(bytes, entry + 12, 4);
        if (size < 40 || offset > bytes.size() || size > bytes.size() - offset)
            continue;  // 40: a bitmap's header
        entries.push_back({bytes.substr(offset, size), width});
    }
    return entries;
}

// The image of an icon file to draw at `size`: the smallest one at least that
// large, or else the largest.
std::optional<IconEntry> bestEntry(std::string_view bytes, int size) {
    const auto entries = iconFileEntries(bytes);
    if (entries.empty()) return std::nullopt;
    const auto fits = [size](const IconEntry& e) { return e.width >= size; };
    std::optional<IconEntry> best;
    for (const IconEntry& entry : entries) {
        if (!best || (fits(entry) && (!fits(*best) || entry.width < best->width)) ||
            (!fits(entry) && !fits(*best) && entry.width > best->width))
            best = entry;
    }
    return best;
}

HICON iconFrom(std::string_view image, SIZE size) {
    // It reads the bytes, never writes them; the function only lacks the const.
    auto* data = reinterpret_cast<PBYTE>(const_cast<char*>(image.data()));
    return CreateIconFromResourceEx(data, static_cast<DWORD>(image.size()), TRUE, iconFormatVersion, size.cx,
                                    size.cy, LR_DEFAULTCOLOR);
}

}  // namespace

IconHandle::~IconHandle() {
    if (icon_ != nullptr) DestroyIcon(icon_);
}

IconHandle& IconHandle::operator=(IconHandle&& other) noexcept {
    if (this != &other) {
        if (icon_ != nullptr) DestroyIcon(icon_);
        icon_ = std::exchange(other.icon_, nullptr);
    }
    return *this;
}

std::unique_ptr<Win32Image> Win32Image::fromBytes(std::string_view bytes) {
    if (bytes.size() > 0xFFFFFFFFu) return nullptr;
    std::unique_ptr<Win32Image> image;
    if (const auto natural = pngSize(bytes)) {
        image.reset(new Win32Image(std::string(bytes), false, *natural));
    } else if (!iconFileEntries(bytes).empty()) {
        image.reset(new Win32Image(std::string(bytes), true, SIZE{1, 1}));
    } else {
        return nullptr;
    }
    // Decoded once now: bytes that only look like an image are none.
    if (image->icon(32) == nullptr) return nullptr;
    return image;
}

Win32Image::Win32Image(std::string bytes, bool iconFile, SIZE natural)
    : bytes_(std::move(bytes)), iconFile_(iconFile), natural_(natural) {}

SIZE Win32Image::fittedSize(int size) const {
    if (iconFile_ || natural_.cx == natural_.cy) return {size, size};
    // The longer side fills the square; the shorter one keeps the proportion.
    if (natural_.cx > natural_.cy) {
        return {size, std::max<LONG>(1, MulDiv(size, natural_.cy, natural_.cx))};
    }
    return {std::max<LONG>(1, MulDiv(size, natural_.cx, natural_.cy)), size};
}

HICON Win32Image::icon(int size) {
    if (const auto made = icons_.find(size); made != icons_.end()) return made->second.get();
    HICON icon = nullptr;
    if (iconFile_) {
        if (const auto entry = bestEntry(bytes_, size)) icon = iconFrom(entry->image, {size, size});
    } else {
        icon = iconFrom(bytes_, fittedSize(size));
    }
    if (icon == nullptr) return nullptr;
    return icons_.emplace(size, IconHandle(icon)).first->second.get();
}

}  // namespace tessary::update::win32
