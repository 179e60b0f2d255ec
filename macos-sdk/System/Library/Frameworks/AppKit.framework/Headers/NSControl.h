#pragma once

#import <AppKit/NSView.h>

@interface NSControl : NSView
@end
