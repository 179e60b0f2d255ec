// Delivering the install request. One implementation per platform, chosen by
// the build (platform/<name>/).
#pragma once

#include <cstdio>
#include <string_view>

namespace tessary::update {

// Writes `bytes` to `stream` and flushes it. True only when every byte was
// handed on: false when the reader has gone (a broken pipe, which never ends
// the process with a signal), the disk is full, or the stream is broken.
// Writes the bytes exactly as given, with no line-end translation.
bool writeWholeAndFlush(std::FILE* stream, std::string_view bytes);

}  // namespace tessary::update
