#pragma once

// How the launcher fares in each layout the loader may meet, as the platform's loader reports it.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "child_process.h"

namespace tessary::service::testing {

struct LayoutCase {
    const char* name;
    std::optional<std::string> framework;  // the framework folder laid out beside the bundle, if any
    std::vector<std::string> environment;
    Ending ending;
    const char* errors;  // a part of what is written on descriptor 2

    friend void PrintTo(const LayoutCase& test, std::ostream* out) { *out << test.name; }
};

// The cases of this platform: its loader's messages and endings differ.
std::vector<LayoutCase> layoutCases();

}  // namespace tessary::service::testing
