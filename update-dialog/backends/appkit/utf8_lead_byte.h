// What a UTF-8 lead byte announces, per the Unicode table of well-formed byte sequences.
#pragma once

#include <cstddef>

namespace tessary::update::appkit {

// The length of the sequence a lead byte starts and the range its second byte must lie in; the later
// bytes of a sequence are always 0x80 to 0xBF. Length 0 marks a byte that cannot start a sequence
// of more than one byte.
struct LeadByte {
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
};

constexpr LeadByte classifyLeadByte(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
    if (byte == 0xE0) return {3, 0xA0, 0xBF};  // no overlong forms
    if (byte == 0xED) return {3, 0x80, 0x9F};  // no surrogates
    if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
    if (byte == 0xF0) return {4, 0x90, 0xBF};  // no overlong forms
    if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
    if (byte == 0xF4) return {4, 0x80, 0x8F};  // nothing above U+10FFFF
    return {};
}

}  // namespace tessary::update::appkit
