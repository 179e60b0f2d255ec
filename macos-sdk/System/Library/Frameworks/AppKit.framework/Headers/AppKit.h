// Stub of the AppKit umbrella header: only the API that Tessary's macOS build uses, declared with the
// SDK's own names, types and signatures.
#pragma once

#import <AppKit/NSAlert.h>
#import <AppKit/NSApplication.h>
#import <AppKit/NSButton.h>
#import <AppKit/NSControl.h>
#import <AppKit/NSImage.h>
#import <AppKit/NSProgressIndicator.h>
#import <AppKit/NSResponder.h>
#import <AppKit/NSView.h>
#import <AppKit/NSWindow.h>
#import <Foundation/Foundation.h>
