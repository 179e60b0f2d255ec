#pragma once

#import <Foundation/NSFormatter.h>

NS_ASSUME_NONNULL_BEGIN

@class NSString;

typedef NS_ENUM(NSInteger, NSByteCountFormatterCountStyle) {
    NSByteCountFormatterCountStyleFile = 0,
    NSByteCountFormatterCountStyleMemory = 1,
    NSByteCountFormatterCountStyleDecimal = 2,
    NSByteCountFormatterCountStyleBinary = 3,
};

@interface NSByteCountFormatter : NSFormatter
+ (NSString*)stringFromByteCount:(long long)byteCount countStyle:(NSByteCountFormatterCountStyle)countStyle;
@end

NS_ASSUME_NONNULL_END
