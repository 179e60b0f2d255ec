// Compile-only check that the stub SDK declares the Apple API Tessary uses with the ABI of the real
// one on x86-64 macOS: the scalar types, the underlying types and values of the enums, the layout of
// the geometry structs, and the result type and the type of every parameter of each selector the
// programs send. A wrong type here would compile and link against the stubs and then pass or read
// the wrong bits on a Mac (a count declared int is cut to 32 bits at every call).
//
// The cross-build compiles it against macos-sdk/; on a Mac it compiles against Xcode's SDK, which
// shows that these facts hold for the real headers too.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>
#include <dispatch/dispatch.h>

#include <cstddef>
#include <type_traits>

namespace tessary::macos_sdk_abi {

template <typename A, typename B>
inline constexpr bool same = std::is_same_v<std::remove_cv_t<A>, std::remove_cv_t<B>>;

// Scalars (LP64; BOOL is signed char on x86-64).
static_assert(same<NSInteger, long> && sizeof(NSInteger) == 8);
static_assert(same<NSUInteger, unsigned long> && sizeof(NSUInteger) == 8);
static_assert(same<BOOL, signed char>);
static_assert(same<CGFloat, double>);
static_assert(same<NSTimeInterval, double>);
static_assert(same<NSModalResponse, NSInteger>);
static_assert(same<unichar, unsigned short>);

// Geometry: NSRect is CGRect, {{x, y}, {width, height}} of doubles.
static_assert(same<NSRect, CGRect> && same<NSPoint, CGPoint> && same<NSSize, CGSize>);
static_assert(sizeof(NSRect) == 32 && alignof(NSRect) == 8);
static_assert(offsetof(NSRect, origin) == 0 && offsetof(NSRect, size) == 16);
static_assert(offsetof(NSSize, width) == 0 && offsetof(NSSize, height) == 8);

// Enums: underlying types and the values the programs pass.
static_assert(same<std::underlying_type_t<NSApplicationActivationPolicy>, NSInteger>);
static_assert(NSApplicationActivationPolicyRegular == 0 && NSApplicationActivationPolicyAccessory == 1 &&
              NSApplicationActivationPolicyProhibited == 2);
static_assert(same<std::underlying_type_t<NSAlertStyle>, NSUInteger>);
static_assert(NSAlertStyleWarning == 0 && NSAlertStyleInformational == 1 && NSAlertStyleCritical == 2);
static_assert(NSAlertFirstButtonReturn == 1000 && NSAlertSecondButtonReturn == 1001);
static_assert(same<std::underlying_type_t<NSProgressIndicatorStyle>, NSUInteger>);
static_assert(NSProgressIndicatorStyleBar == 0 && NSProgressIndicatorStyleSpinning == 1);
static_assert(same<std::underlying_type_t<NSByteCountFormatterCountStyle>, NSInteger>);
static_assert(NSByteCountFormatterCountStyleFile == 0);

// Result types of the selectors sent (unevaluated: nothing here runs).
NSApplication* application();
NSAlert* alert();
NSButton* button();
NSWindow* window();
NSProgressIndicator* indicator();
NSString* string();
NSTimer* timer();

static_assert(same<decltype(NSApplication.sharedApplication), __kindof NSApplication*>);
static_assert(
    same<decltype([application() setActivationPolicy:NSApplicationActivationPolicyAccessory]), BOOL>);
static_assert(same<decltype([application() activateIgnoringOtherApps:YES]), void>);

static_assert(same<decltype([[NSAlert alloc] init]), NSAlert*>);
static_assert(same<decltype(alert().messageText), NSString*>);
static_assert(same<decltype(alert().informativeText), NSString*>);
static_assert(same<decltype(alert().icon), NSImage*>);
static_assert(same<decltype(alert().alertStyle), NSAlertStyle>);
static_assert(same<decltype([alert() addButtonWithTitle:string()]), NSButton*>);
static_assert(same<decltype(alert().buttons), NSArray<NSButton*>*>);
static_assert(same<decltype(alert().buttons.count), NSUInteger>);
static_assert(same<decltype(alert().accessoryView), NSView*>);
static_assert(same<decltype([alert() layout]), void>);
static_assert(same<decltype([alert() runModal]), NSModalResponse>);
static_assert(same<decltype(alert().window), NSWindow*>);
static_assert(same<decltype([window() makeKeyAndOrderFront:nil]), void>);
static_assert(same<decltype(button().title), NSString*>);
static_assert(same<decltype(button().keyEquivalent), NSString*>);

static_assert(same<decltype([[NSImage alloc] initWithData:[NSData dataWithBytes:nullptr length:0]]), NSImage*>);
static_assert(same<decltype([NSData dataWithBytes:nullptr length:0]), NSData*>);
static_assert(same<decltype([[NSProgressIndicator alloc] initWithFrame:NSMakeRect(0, 0, 280, 14)]),
                   NSProgressIndicator*>);
static_assert(same<decltype(indicator().style), NSProgressIndicatorStyle>);
static_assert(same<decltype(indicator().indeterminate), BOOL>);
static_assert(same<decltype(indicator().doubleValue), double>);
static_assert(same<decltype(indicator().hidden), BOOL>);
static_assert(same<decltype([indicator() startAnimation:nil]), void>);

static_assert(same<decltype([[NSString alloc] initWithCharacters:nullptr length:0]), NSString*>);
static_assert(same<decltype(string().UTF8String), const char*>);
static_assert(same<decltype(string().precomposedStringWithCanonicalMapping), NSString*>);
static_assert(same<decltype([string() isEqualToString:string()]), BOOL>);
static_assert(same<decltype([NSByteCountFormatter stringFromByteCount:0LL
                                                           countStyle:NSByteCountFormatterCountStyleFile]),
                   NSString*>);

static_assert(same<decltype([NSTimer timerWithTimeInterval:0.25
                                                   repeats:YES
                                                     block:^(NSTimer*){
                                                     }]),
                   NSTimer*>);
static_assert(same<decltype([timer() invalidate]), void>);
static_assert(same<decltype(NSRunLoop.mainRunLoop), NSRunLoop*>);
static_assert(same<decltype([NSRunLoop.mainRunLoop addTimer:timer() forMode:NSRunLoopCommonModes]), void>);
static_assert(same<decltype(NSRunLoopCommonModes), NSRunLoopMode const> && same<NSRunLoopMode, NSString*>);

// Parameter types. `exactly<T>()` converts to T and to no other type, so each send below compiles only
// when every parameter of the selector is declared with exactly the SDK's type: a stub that declares
// `stringFromByteCount:(int)` fails here, though the call itself would compile, link and send the
// same selector.
template <typename T>
struct Exactly {
    template <typename U>
        requires same<U, T>
    operator U() const;
};
template <typename T>
Exactly<T> exactly();

using TimerBlock = void (^)(NSTimer*);

static_assert(same<decltype([application() setActivationPolicy:exactly<NSApplicationActivationPolicy>()]), BOOL>);
static_assert(same<decltype([application() activateIgnoringOtherApps:exactly<BOOL>()]), void>);

static_assert(same<decltype([alert() setAlertStyle:exactly<NSAlertStyle>()]), void>);
static_assert(same<decltype([alert() setMessageText:exactly<NSString*>()]), void>);
static_assert(same<decltype([alert() setInformativeText:exactly<NSString*>()]), void>);
static_assert(same<decltype([alert() setIcon:exactly<NSImage*>()]), void>);
static_assert(same<decltype([alert() addButtonWithTitle:exactly<NSString*>()]), NSButton*>);
static_assert(same<decltype([alert() setAccessoryView:exactly<NSView*>()]), void>);
static_assert(same<decltype([window() makeKeyAndOrderFront:exactly<id>()]), void>);
static_assert(same<decltype([button() setTitle:exactly<NSString*>()]), void>);
static_assert(same<decltype([button() setKeyEquivalent:exactly<NSString*>()]), void>);

static_assert(same<decltype([[NSImage alloc] initWithData:exactly<NSData*>()]), NSImage*>);
static_assert(same<decltype([NSData dataWithBytes:exactly<const void*>() length:exactly<NSUInteger>()]), NSData*>);
static_assert(same<decltype([[NSProgressIndicator alloc] initWithFrame:exactly<NSRect>()]), NSProgressIndicator*>);
static_assert(same<decltype([indicator() setHidden:exactly<BOOL>()]), void>);
static_assert(same<decltype([indicator() setStyle:exactly<NSProgressIndicatorStyle>()]), void>);
static_assert(same<decltype([indicator() setIndeterminate:exactly<BOOL>()]), void>);
static_assert(same<decltype([indicator() startAnimation:exactly<id>()]), void>);
static_assert(same<decltype([indicator() setDoubleValue:exactly<double>()]), void>);

static_assert(same<decltype([[NSString alloc] initWithCharacters:exactly<const unichar*>()
                                                          length:exactly<NSUInteger>()]),
                   NSString*>);
static_assert(same<decltype([string() isEqualToString:exactly<NSString*>()]), BOOL>);
static_assert(same<decltype([NSByteCountFormatter stringFromByteCount:exactly<long long>()
                                                           countStyle:exactly<NSByteCountFormatterCountStyle>()]),
                   NSString*>);
static_assert(same<decltype([NSTimer timerWithTimeInterval:exactly<NSTimeInterval>()
                                                   repeats:exactly<BOOL>()
                                                     block:exactly<TimerBlock>()]),
                   NSTimer*>);
static_assert(same<decltype([NSRunLoop.mainRunLoop addTimer:exactly<NSTimer*>() forMode:exactly<NSRunLoopMode>()]),
                   void>);

// What the AppKit toolkit's tests read back (they build the real objects on a Mac).
static_assert(same<decltype([application() activationPolicy]), NSApplicationActivationPolicy>);
static_assert(same<decltype(indicator().frame), NSRect>);
static_assert(same<decltype(indicator().minValue), double> && same<decltype(indicator().maxValue), double>);
static_assert(same<decltype(string().length), NSUInteger>);
static_assert(same<decltype([string() characterAtIndex:exactly<NSUInteger>()]), unichar>);
static_assert(same<decltype([alert().buttons objectAtIndex:exactly<NSUInteger>()]), NSButton*>);
static_assert(same<decltype(timer().valid), BOOL> && same<decltype(timer().timeInterval), NSTimeInterval>);
static_assert(same<decltype([NSDate dateWithTimeIntervalSinceNow:exactly<NSTimeInterval>()]), NSDate*>);
static_assert(same<decltype([NSRunLoop.mainRunLoop runMode:exactly<NSRunLoopMode>()
                                                beforeDate:exactly<NSDate*>()]),
                   BOOL>);
static_assert(same<decltype(NSDefaultRunLoopMode), NSRunLoopMode const>);

// Dispatch comes from the C library's headers, the same on both sides; its handles are objects.
static_assert(same<decltype(dispatch_get_main_queue()), dispatch_queue_main_t>);

}  // namespace tessary::macos_sdk_abi
