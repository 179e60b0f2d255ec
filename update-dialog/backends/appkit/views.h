// AppKit views and images behind the toolkit's View, ProgressIndicator and Image.
#pragma once

#import <AppKit/AppKit.h>

#include "core/toolkit.h"

NS_ASSUME_NONNULL_BEGIN

namespace tessary::update::appkit {

// What the alert needs of a toolkit view to show it: the AppKit view itself.
class NativeView {
public:
    virtual NSView* nsView() const = 0;

protected:
    ~NativeView() = default;
};

NSView* _Nullable nsViewOf(View* _Nullable view);

class AppKitProgressIndicator final : public ProgressIndicator, public NativeView {
public:
    explicit AppKitProgressIndicator(Rect frame);

    void setHidden(bool hidden) override;
    void setStyle(ProgressIndicatorStyle style) override;
    void setIndeterminate(bool indeterminate) override;
    void startAnimation() override;
    void setDoubleValue(double value) override;
    NSView* nsView() const override { return indicator_; }
    NSProgressIndicator* nsProgressIndicator() const { return indicator_; }

private:
    NSProgressIndicator* indicator_;
};

class AppKitImage final : public Image {
public:
    explicit AppKitImage(NSImage* image) : image_(image) {}
    NSImage* nsImage() const { return image_; }

private:
    NSImage* image_;
};

}  // namespace tessary::update::appkit

NS_ASSUME_NONNULL_END
