#pragma once

#import <Foundation/NSObjCRuntime.h>
#import <Foundation/NSObject.h>

NS_ASSUME_NONNULL_BEGIN

typedef double NSTimeInterval;

@interface NSDate : NSObject
+ (instancetype)dateWithTimeIntervalSinceNow:(NSTimeInterval)secs;
@end

NS_ASSUME_NONNULL_END
