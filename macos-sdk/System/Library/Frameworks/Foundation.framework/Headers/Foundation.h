// Stub of the Foundation umbrella header: only the API that Tessary's macOS build uses, declared with
// the SDK's own names, types and signatures.
#pragma once

#import <Foundation/NSArray.h>
#import <Foundation/NSByteCountFormatter.h>
#import <Foundation/NSData.h>
#import <Foundation/NSDate.h>
#import <Foundation/NSFormatter.h>
#import <Foundation/NSGeometry.h>
#import <Foundation/NSObjCRuntime.h>
#import <Foundation/NSObject.h>
#import <Foundation/NSRunLoop.h>
#import <Foundation/NSString.h>
#import <Foundation/NSTimer.h>
