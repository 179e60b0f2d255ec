// Canonical equivalence of two texts through Foundation's canonical composition (NFC).
#include "core/canonical_equality.h"

#import <Foundation/Foundation.h>

#include "ns_string.h"

namespace tessary::update {

bool isCanonicallyEquivalent(std::string_view a, std::string_view b) {
    if (a == b) return true;  // the same bytes are the same text, well-formed or not
    @autoreleasepool {
        NSString* left = appkit::stringFromWellFormedUtf8(a);
        NSString* right = appkit::stringFromWellFormedUtf8(b);
        // Different bytes that are not both Unicode text cannot be shown equivalent: no repair here,
        // which could make two different byte strings compare equal.
        if (!left || !right) return false;
        return [left.precomposedStringWithCanonicalMapping
            isEqualToString:right.precomposedStringWithCanonicalMapping];
    }
}

}  // namespace tessary::update
