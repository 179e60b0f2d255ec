// How much of a text from the host application the dialog shows. The host
// puts whatever it likes into `message`, `latest` and the installed version (a
// whole stack trace, a megabyte of log, a letter carrying thousands of accents);
// an alert grows with its texts (NSAlert never scrolls them), and no toolkit
// lays such a text out cheaply. So each is cut to a few lines and characters
// before it reaches the alert: enough for a version or a few sentences and a
// short stack trace, little enough that laying it out four times a second costs
// almost nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessary::update {

struct TextBounds {
    std::size_t characters;  // Unicode characters, the closing ellipsis included
    std::size_t lines;
};

// A version number (`installed`, `latest`): one short line. Long enough for a
// prerelease with build metadata and a full commit hash.
inline constexpr TextBounds versionBounds{120, 1};

// The host's detail text (`message`): a few sentences or a short stack trace.
// NSAlert never scrolls its informative text, so this keeps the alert within
// the smallest Mac screen (about 700 points left under the menu bar and Dock)
// even when the lines wrap: at most about 16 + 1,200 / 47 lines of 13 points.
inline constexpr TextBounds messageBounds{1200, 16};

// Ends a text that was cut short.
inline constexpr std::string_view ellipsis = "…";

// `text` as it stands when it lies within `bounds`. Otherwise its first
// characters and lines, cut at a character boundary and followed by the
// ellipsis; the line break at a cut is dropped. When what is cut off holds
// nothing but white space, it is dropped without an ellipsis. A byte that
// starts no valid UTF-8 sequence counts as one character and is never split
// from, or glued to, its neighbours.
std::string boundedText(std::string_view text, TextBounds bounds);

// The number of characters in `text`, counted as boundedText counts them.
std::size_t characterCount(std::string_view text);

}  // namespace tessary::update
