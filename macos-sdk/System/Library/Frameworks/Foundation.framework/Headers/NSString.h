#pragma once

#import <Foundation/NSObject.h>

NS_ASSUME_NONNULL_BEGIN

typedef unsigned short unichar;

@interface NSString : NSObject
@property(readonly) NSUInteger length;
- (unichar)characterAtIndex:(NSUInteger)index;
- (instancetype)initWithCharacters:(const unichar*)characters length:(NSUInteger)length;
@property(nullable, readonly) const char* UTF8String NS_RETURNS_INNER_POINTER;
@property(readonly, copy) NSString* precomposedStringWithCanonicalMapping;
- (BOOL)isEqualToString:(NSString*)aString;
@end

NS_ASSUME_NONNULL_END
