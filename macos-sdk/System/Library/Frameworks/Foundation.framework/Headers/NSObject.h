#pragma once

#import <Foundation/NSObjCRuntime.h>
#include <objc/NSObject.h>
