#include "views.h"

namespace tessary::update::appkit {

static_assert(static_cast<NSProgressIndicatorStyle>(ProgressIndicatorStyle::bar) ==
              NSProgressIndicatorStyleBar);
static_assert(static_cast<NSProgressIndicatorStyle>(ProgressIndicatorStyle::spinning) ==
              NSProgressIndicatorStyleSpinning);

NSView* _Nullable nsViewOf(View* _Nullable view) {
    auto* native = dynamic_cast<NativeView*>(view);
    return native ? native->nsView() : nil;
}

AppKitProgressIndicator::AppKitProgressIndicator(Rect frame)
    : indicator_([[NSProgressIndicator alloc]
          initWithFrame:NSMakeRect(frame.x, frame.y, frame.width, frame.height)]) {}

void AppKitProgressIndicator::setHidden(bool hidden) {
    indicator_.hidden = hidden ? YES : NO;
}

void AppKitProgressIndicator::setStyle(ProgressIndicatorStyle style) {
    indicator_.style = static_cast<NSProgressIndicatorStyle>(style);
}

void AppKitProgressIndicator::setIndeterminate(bool indeterminate) {
    indicator_.indeterminate = indeterminate ? YES : NO;
}

void AppKitProgressIndicator::startAnimation() {
    [indicator_ startAnimation:nil];
}

void AppKitProgressIndicator::setDoubleValue(double value) {
    indicator_.doubleValue = value;
}

}  // namespace tessary::update::appkit
