#pragma once

#import <Foundation/Foundation.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSImage : NSObject
- (nullable instancetype)initWithContentsOfFile:(NSString*)fileName;
@end

NS_ASSUME_NONNULL_END
