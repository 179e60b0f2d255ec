#pragma once

#import <AppKit/NSResponder.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSWindow : NSResponder
- (void)makeKeyAndOrderFront:(nullable id)sender;
@end

NS_ASSUME_NONNULL_END
