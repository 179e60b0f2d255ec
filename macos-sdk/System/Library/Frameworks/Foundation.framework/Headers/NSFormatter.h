#pragma once

#import <Foundation/NSObject.h>

@interface NSFormatter : NSObject
@end
