#pragma once

#import <AppKit/NSResponder.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSView : NSResponder
- (instancetype)initWithFrame:(NSRect)frameRect NS_DESIGNATED_INITIALIZER;
@property(getter=isHidden) BOOL hidden;
@property NSRect frame;
@end

NS_ASSUME_NONNULL_END
