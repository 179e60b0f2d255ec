#include "ns_string.h"

#include "utf8_repair.h"

namespace tessary::update::appkit {

NSString* _Nullable stringFromWellFormedUtf8(std::string_view text) {
    // With an explicit length, so that a NUL inside the text does not cut it short; an empty view may
    // have no data pointer at all.
    const char* bytes = text.empty() ? "" : text.data();
    return [[NSString alloc] initWithBytes:bytes length:text.size() encoding:NSUTF8StringEncoding];
}

NSString* stringFromUtf8(std::string_view text) {
    if (NSString* string = stringFromWellFormedUtf8(text)) return string;
    const std::string repaired = repairUtf8(text);
    if (NSString* string = stringFromWellFormedUtf8(repaired)) return string;
    return @"";  // not reached: the repaired text is well-formed
}

std::string utf8FromString(NSString* _Nullable string) {
    const char* bytes = string.UTF8String;
    return bytes ? std::string(bytes) : std::string();
}

}  // namespace tessary::update::appkit
