// One request to the inspector, run: what it finds or does, as a JSON answer
// ({"ok": true, ...} or {"ok": false, "error": "..."}).
#pragma once

#include <nlohmann/json.hpp>

#include "arguments.h"

namespace tessary::update::inspector {

nlohmann::json runCommand(const Arguments& arguments);

}  // namespace tessary::update::inspector
