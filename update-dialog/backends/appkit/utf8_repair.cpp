#include "utf8_repair.h"

#include <cstddef>

namespace tessary::update::appkit {
namespace {

constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// The length of the sequence a lead byte starts and the range its second byte must lie in; the later
// bytes of a sequence are always 0x80 to 0xBF. Length 0 marks a byte that cannot start a sequence.
struct LeadByte {
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
};

LeadByte classify(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
    if (byte == 0xE0) return {3, 0xA0, 0xBF};  // no overlong forms
    if (byte == 0xED) return {3, 0x80, 0x9F};  // no surrogates
    if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
    if (byte == 0xF0) return {4, 0x90, 0xBF};  // no overlong forms
    if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
    if (byte == 0xF4) return {4, 0x80, 0x8F};  // nothing above U+10FFFF
    return {};
}

}  // namespace

std::string repairUtf8(std::string_view text) {
    std::string repaired;
    repaired.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            repaired += static_cast<char>(byte);
            ++at;
            continue;
        }
        const LeadByte lead = classify(byte);
        // How many bytes from `at` form a well-formed prefix of the sequence the lead byte announces:
        // a complete sequence is kept, an ill-formed prefix becomes one replacement character.
        std::size_t valid = 1;
        while (valid < lead.length && at + valid < text.size()) {
            const auto next = static_cast<unsigned char>(text[at + valid]);
            const unsigned char low = valid == 1 ? lead.secondLow : 0x80;
            const unsigned char high = valid == 1 ? lead.secondHigh : 0xBF;
            if (next < low || next > high) break;
            ++valid;
        }
        if (lead.length != 0 && valid == lead.length) {
            repaired.append(text.substr(at, valid));
        } else {
            repaired.append(replacementCharacter);
        }
        at += valid;
    }
    return repaired;
}

}  // namespace tessary::update::appkit
