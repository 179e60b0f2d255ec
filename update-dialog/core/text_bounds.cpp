#include "text_bounds.h"

namespace tessary::update {
namespace {

unsigned char byteAt(std::string_view bytes, std::size_t index) {
    return static_cast<unsigned char>(bytes[index]);
}

// The length in bytes of the character that `bytes` starts with: the whole
// UTF-8 sequence when a valid one starts there (no overlong forms, no
// surrogates, nothing above U+10FFFF), otherwise the one byte, which a toolkit
// shows as a replacement character of its own.
std::size_t characterLength(std::string_view bytes) {
    const unsigned char lead = byteAt(bytes, 0);
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) secondLow = 0xA0;   // overlong
        if (lead == 0xED) secondHigh = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) secondLow = 0x90;   // overlong
        if (lead == 0xF4) secondHigh = 0x8F;  // above U+10FFFF
    } else {
        return 1;
    }
    if (bytes.size() < length) return 1;
    if (byteAt(bytes, 1) < secondLow || byteAt(bytes, 1) > secondHigh) return 1;
    for (std::size_t i = 2; i < length; ++i) {
        if (byteAt(bytes, i) < 0x80 || byteAt(bytes, i) > 0xBF) return 1;
    }
    return length;
}

// The length in bytes of the line break that `bytes` starts with, or 0: line
// feed, carriage return (with a following line feed, one break), vertical tab,
// form feed, and U+0085, U+2028 and U+2029, as text layout breaks lines at each.
std::size_t lineBreakLength(std::string_view bytes) {
    switch (byteAt(bytes, 0)) {
        case '\n':
        case '\v':
        case '\f':
            return 1;
        case '\r':
            return bytes.size() > 1 && bytes[1] == '\n' ? 2 : 1;
        default:
            break;
    }
    if (bytes.starts_with("\u0085")) return 2;
    if (bytes.starts_with("\u2028") || bytes.starts_with("\u2029")) return 3;
    return 0;
}

bool isBlank(std::string_view bytes) {
    std::size_t position = 0;
    while (position < bytes.size()) {
        const std::string_view rest = bytes.substr(position);
        if (const std::size_t breakLength = lineBreakLength(rest)) {
            position += breakLength;
        } else if (rest.front() == ' ' || rest.front() == '\t') {
            ++position;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string boundedText(std::string_view text, TextBounds bounds) {
    if (bounds.characters == 0 || bounds.lines == 0) return {};
    std::size_t characters = 0;
    std::size_t breaks = 0;
    std::size_t position = 0;
    std::size_t lastWholeEnd = 0;  // where the text ends when the ellipsis takes the last character
    bool cut = false;
    while (position < text.size()) {
        if (characters == bounds.characters - 1) lastWholeEnd = position;
        if (characters == bounds.characters) {  // one character more than fits
            position = lastWholeEnd;
            cut = true;
            break;
        }
        const std::string_view rest = text.substr(position);
        const std::size_t breakLength = lineBreakLength(rest);
        if (breakLength != 0 && ++breaks == bounds.lines) {  // a line more than fits
            cut = true;
            break;
        }
        position += breakLength != 0 ? breakLength : characterLength(rest);
        ++characters;
    }
    if (!cut) return std::string(text);
    std::string shown(text.substr(0, position));
    if (!isBlank(text.substr(position))) shown.append(ellipsis);
    return shown;
}

std::size_t characterCount(std::string_view text) {
    std::size_t characters = 0;
    for (std::size_t position = 0; position < text.size(); ++characters) {
        const std::string_view rest = text.substr(position);
        const std::size_t breakLength = lineBreakLength(rest);
        position += breakLength != 0 ? breakLength : characterLength(rest);
    }
    return characters;
}

}  // namespace tessary::update
