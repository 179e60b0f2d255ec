#include "image.h"

#include <algorithm>
#include <cstdint>

namespace tessary::update::win32 {
namespace {

using Microsoft::WRL::ComPtr;

// An image larger than this is no icon: decoding it would take gigabytes.
constexpr UINT largestSide = 16384;
constexpr std::uint64_t mostPixels = std::uint64_t{1} << 26;

class BitmapHandle {
public:
    explicit BitmapHandle(HBITMAP bitmap) : bitmap_(bitmap) {}
    ~BitmapHandle() {
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
    }
    BitmapHandle(const BitmapHandle&) = delete;
    BitmapHandle& operator=(const BitmapHandle&) = delete;
    HBITMAP get() const { return bitmap_; }

private:
    HBITMAP bitmap_;
};

// The imaging factory of this thread; COM stays initialised for it until the
// process ends, as every other object of the dialog stays.
ComPtr<IWICImagingFactory> imagingFactory() {
    const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(initialised) && initialised != RPC_E_CHANGED_MODE) return nullptr;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(
            CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return nullptr;
    return factory;
}

// `source` scaled to `size`, as an icon: 32-bit colour with its alpha, and an empty mask.
HICON iconOf(IWICImagingFactory& factory, IWICBitmapSource& source, SIZE size) {
    ComPtr<IWICBitmapScaler> scaler;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory.CreateBitmapScaler(&scaler)) ||
        FAILED(scaler->Initialize(&source, static_cast<UINT>(size.cx), static_cast<UINT>(size.cy),
                                  WICBitmapInterpolationModeFant)) ||
        FAILED(factory.CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(scaler.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return nullptr;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;  // top-down, as WIC gives the rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    const BitmapHandle colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (colour.get() == nullptr || pixels == nullptr) return nullptr;
    const UINT stride = static_cast<UINT>(size.cx) * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * static_cast<UINT>(size.cy),
                                     static_cast<BYTE*>(pixels))))
        return nullptr;
    const BitmapHandle mask(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    if (mask.get() == nullptr) return nullptr;
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmColor = colour.get();
    icon.hbmMask = mask.get();
    return CreateIconIndirect(&icon);
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
    if (bytes.empty() || bytes.size() > 0xFFFFFFFFu) return nullptr;
    auto factory = imagingFactory();
    if (!factory) return nullptr;
    std::unique_ptr<Win32Image> image(new Win32Image(std::string(bytes), std::move(factory)));
    // Decoded whole once now: bytes that only start like an image are none.
    if (!image->decode() || image->icon(32) == nullptr) return nullptr;
    return image;
}

Win32Image::Win32Image(std::string bytes, ComPtr<IWICImagingFactory> factory)
    : bytes_(std::move(bytes)), factory_(std::move(factory)) {}

bool Win32Image::decode() {
    if (FAILED(factory_->CreateStream(&stream_)) ||
        FAILED(stream_->InitializeFromMemory(reinterpret_cast<BYTE*>(bytes_.data()),
                                             static_cast<DWORD>(bytes_.size()))) ||
        FAILED(factory_->CreateDecoderFromStream(stream_.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                 &decoder_)))
        return false;
    UINT count = 0;
    if (FAILED(decoder_->GetFrameCount(&count))) return false;
    for (UINT index = 0; index < count; ++index) {
        Frame frame;
        UINT width = 0;
        UINT height = 0;
        if (FAILED(decoder_->GetFrame(index, &frame.source)) ||
            FAILED(frame.source->GetSize(&width, &height)))
            continue;
        if (width == 0 || height == 0 || width > largestSide || height > largestSide ||
            std::uint64_t{width} * height > mostPixels)
            continue;
        frame.size = {static_cast<LONG>(width), static_cast<LONG>(height)};
        frames_.push_back(std::move(frame));
    }
    return !frames_.empty();
}

// The frame to draw at `size` (an icon file holds several): the smallest one
// at least that large, or else the largest.
const Win32Image::Frame& Win32Image::frameFor(int size) const {
    const auto side = [](const Frame& frame) { return std::max(frame.size.cx, frame.size.cy); };
    const Frame* best = &frames_.front();
    for (const Frame& frame : frames_) {
        const bool fits = side(frame) >= size;
        const bool bestFits = side(*best) >= size;
        if ((fits && (!bestFits || side(frame) < side(*best))) ||
            (!fits && !bestFits && side(frame) > side(*best)))
            best = &frame;
    }
    return *best;
}

SIZE Win32Image::fittedSize(int size) const {
    const SIZE natural = frameFor(size).size;
    if (natural.cx == natural.cy) return {size, size};
    // The longer side fills the square; the shorter one keeps the proportion.
    if (natural.cx > natural.cy) return {size, std::max<LONG>(1, MulDiv(size, natural.cy, natural.cx))};
    return {std::max<LONG>(1, MulDiv(size, natural.cx, natural.cy)), size};
}

HICON Win32Image::icon(int size) {
    if (const auto made = icons_.find(size); made != icons_.end()) return made->second.get();
    HICON icon = iconOf(*factory_.Get(), *frameFor(size).source.Get(), fittedSize(size));
    if (icon == nullptr) return nullptr;
    return icons_.emplace(size, IconHandle(icon)).first->second.get();
}

}  // namespace tessary::update::win32
