#include "utf8_repair.h"

#include <cstddef>

#include "utf8_lead_byte.h"

namespace tessary::update::appkit {
namespace {

constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

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
        const LeadByte lead = classifyLeadByte(byte);
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
