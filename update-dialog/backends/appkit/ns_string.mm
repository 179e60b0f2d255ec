#include "ns_string.h"

#include <optional>
#include <string>

#include "utf16_from_utf8.h"
#include "utf8_repair.h"

namespace tessary::update::appkit {

static_assert(sizeof(unichar) == sizeof(char16_t));

NSString* _Nullable stringFromWellFormedUtf8(std::string_view text) {
    // Decoded here rather than by Foundation, whose UTF-8 decoding drops a leading U+FEFF: the state
    // "\ufeffavailable" would then equal "available" and offer an install that the host never
    // reported, and a text would be shown without a character the host wrote. UTF-16 code units are
    // taken as they stand, a NUL inside the text included.
    const std::optional<std::u16string> units = utf16FromUtf8(text);
    if (!units) return nil;
    return [[NSString alloc] initWithCharacters:reinterpret_cast<const unichar*>(units->data())
                                         length:units->size()];
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
