#pragma once

#import <Foundation/NSObjCRuntime.h>

typedef double NSTimeInterval;
