// The inspector's answers: one JSON line each on standard output, UTF-8,
// written whole and at once (no CRT text mode, no buffering), so that a test
// reading the pipe gets every answer as soon as it is made.
#pragma once

#include <nlohmann/json.hpp>

namespace tessary::update::inspector {

void writeLine(const nlohmann::json& answer);

}  // namespace tessary::update::inspector
