#include "utf16_from_utf8.h"

#include <cstddef>

#include "utf8_lead_byte.h"

namespace tessary::update::appkit {

std::optional<std::u16string> utf16FromUtf8(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            units.push_back(byte);
            ++at;
            continue;
        }
        const LeadByte lead = classifyLeadByte(byte);
        if (lead.length == 0 || text.size() - at < lead.length) return std::nullopt;
        // The lead byte's payload bits, then six bits from each continuation byte.
        char32_t character = byte & (0x7F >> lead.length);
        for (std::size_t index = 1; index < lead.length; ++index) {
            const auto next = static_cast<unsigned char>(text[at + index]);
            const unsigned char low = index == 1 ? lead.secondLow : 0x80;
            const unsigned char high = index == 1 ? lead.secondHigh : 0xBF;
            if (next < low || next > high) return std::nullopt;
            character = (character << 6) | (next & 0x3F);
        }
        if (character >= 0x10000) {
            character -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (character >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (character & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(character));
        }
        at += lead.length;
    }
    return units;
}

}  // namespace tessary::update::appkit
