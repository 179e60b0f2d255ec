// Checks on the calls a run of the dialog made on the recording toolkit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "expected_look.h"

namespace tessary::update::fuzz {

// Stops the run (and lets the fuzzer keep the input) when `holds` is false.
void require(bool holds, const char* what);

// The pass before the modal loop and the pass of the first timer tick each
// show `look`, or change nothing at all when there is none; every text handed
// to the toolkit is valid UTF-8.
void checkPasses(const std::vector<std::string>& calls, const std::optional<ExpectedLook>& look);

}  // namespace tessary::update::fuzz
