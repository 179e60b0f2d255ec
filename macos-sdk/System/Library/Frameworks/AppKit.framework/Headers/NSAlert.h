#pragma once

#import <AppKit/NSApplication.h>

NS_ASSUME_NONNULL_BEGIN

@class NSButton, NSImage, NSView, NSWindow;

typedef NS_ENUM(NSUInteger, NSAlertStyle) {
    NSAlertStyleWarning = 0,
    NSAlertStyleInformational = 1,
    NSAlertStyleCritical = 2,
};

static const NSModalResponse NSAlertFirstButtonReturn = 1000;
static const NSModalResponse NSAlertSecondButtonReturn = 1001;

@interface NSAlert : NSObject
@property(copy) NSString* messageText;
@property(copy) NSString* informativeText;
@property(null_resettable, strong) NSImage* icon;
- (NSButton*)addButtonWithTitle:(NSString*)title;
@property(readonly, copy) NSArray<NSButton*>* buttons;
@property NSAlertStyle alertStyle;
@property(nullable, strong) NSView* accessoryView;
- (void)layout;
- (NSModalResponse)runModal;
@property(readonly, strong) NSWindow* window;
@end

NS_ASSUME_NONNULL_END
