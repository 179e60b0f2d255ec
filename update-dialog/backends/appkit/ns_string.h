// UTF-8 texts of the dialog as Foundation strings and back.
#pragma once

#import <Foundation/Foundation.h>

#include <string>
#include <string_view>

NS_ASSUME_NONNULL_BEGIN

namespace tessary::update::appkit {

// Never nil: ill-formed UTF-8 (an argument can be any bytes) is shown with replacement characters
// rather than dropped, since AppKit's text setters do not accept nil.
NSString* stringFromUtf8(std::string_view text);

// nil when `text` is not well-formed UTF-8.
NSString* _Nullable stringFromWellFormedUtf8(std::string_view text);

// The empty text for nil.
std::string utf8FromString(NSString* _Nullable string);

}  // namespace tessary::update::appkit

NS_ASSUME_NONNULL_END
