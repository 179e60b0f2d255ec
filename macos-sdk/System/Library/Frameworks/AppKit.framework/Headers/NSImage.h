#pragma once

#import <Foundation/Foundation.h>

NS_ASSUME_NONNULL_BEGIN

@class NSData;

@interface NSImage : NSObject
- (nullable instancetype)initWithData:(NSData*)data;
@end

NS_ASSUME_NONNULL_END
