// How a byte count is shown to the user (the platform's file-size style).
// One implementation per platform, chosen by the build: Foundation's
// NSByteCountFormatter on macOS, a decimal formatter of our own elsewhere.
#pragma once

#include <cstdint>
#include <string>

namespace tessary::update {

// NSByteCountFormatter stringFromByteCount:countStyle: with the file style.
std::string stringFromByteCount(std::int64_t byteCount);

}  // namespace tessary::update
