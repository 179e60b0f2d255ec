// Complete versions of the status file that the stress programs write: every
// state the dialog tells apart and one it does not, each with texts of its own,
// so that a reading which mixed two versions would show a look that none has.
#pragma once

#include <array>
#include <string_view>

namespace tessary::stress {

// The minimum time the dialog is started with; every version here is fresh.
inline constexpr std::string_view minimumTime = "1765267200";

inline constexpr std::array<std::string_view, 13> completeVersions{
    R"({"checkedAt":1765267201,"state":"checking","message":"Looking for a newer release, 01"})",
    R"({"checkedAt":1765267202,"state":"up-to-date","latest":"2.3.1","message":"02"})",
    R"({"checkedAt":1765267203,"state":"available","latest":"2.4.0-03","progress":12})",
    R"({"checkedAt":1765267204,"state":"waiting-for-agents","latest":"2.4.0-04","message":"04"})",
    R"({"checkedAt":1765267205,"state":"downloading","latest":"2.4.0-05","downloaded":48234496,"total":125829120,"progress":38.3})",
    R"({"checkedAt":1765267206,"state":"downloading","latest":"2.4.0-06","downloaded":125829120,"total":125829120,"progress":100})",
    R"({"checkedAt":1765267207,"state":"verifying","message":"Checking the signature, 07","progress":100})",
    R"({"checkedAt":1765267208,"state":"extracting","message":"Unpacking, 08"})",
    R"({"checkedAt":1765267209,"state":"installing","message":"Replacing the application, 09"})",
    R"({"checkedAt":1765267210,"state":"updated","message":"Tessary 2.4.0 is ready, 10"})",
    R"({"checkedAt":1765267211,"state":"error","message":"The download was interrupted, 11"})",
    R"({"checkedAt":1765267212,"state":"recovery-required","message":"Reinstall Tessary, 12"})",
    R"({"checkedAt":1765267213,"state":"paused-by-host","message":"Waiting for the network, 13"})",
};

// Versions a reading must refuse: broken or stale. The soak writes them in
// rotation with the complete ones.
inline constexpr std::array<std::string_view, 7> unusableVersions{
    "",
    R"({"checkedAt":1765267214,"state":"avail)",
    R"([{"checkedAt":1765267215,"state":"available"}])",
    R"({"checkedAt":1765267100,"state":"available","latest":"9.9.9"})",
    R"({"checkedAt":"1765267216","state":"updated"})",
    R"({"checkedAt":1765267217})",
    std::string_view("{\"checkedAt\":1765267218,\0\"state\":\"error\"}", 41),
};

}  // namespace tessary::stress
