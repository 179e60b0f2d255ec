#pragma once

#import <AppKit/NSControl.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSButton : NSControl
@property(copy) NSString* title;
@property(copy) NSString* keyEquivalent;
@end

NS_ASSUME_NONNULL_END
