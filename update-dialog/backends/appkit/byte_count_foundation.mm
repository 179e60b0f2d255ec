// Byte counts as macOS shows file sizes.
#include "core/byte_count.h"

#import <Foundation/Foundation.h>

#include "ns_string.h"

namespace tessary::update {

std::string stringFromByteCount(std::int64_t byteCount) {
    // Called from every refresh pass: the pool keeps each pass's strings from piling up.
    @autoreleasepool {
        return appkit::utf8FromString([NSByteCountFormatter
            stringFromByteCount:byteCount
                     countStyle:NSByteCountFormatterCountStyleFile]);
    }
}

}  // namespace tessary::update
