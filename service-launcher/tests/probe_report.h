#pragma once

// Running the launcher with the probe script and reading what the probe saw.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "child_process.h"

namespace tessary::service::testing {

inline constexpr const char* kLauncher = TESSARY_SERVICE_EXECUTABLE;
inline constexpr const char* kProbe = TESSARY_PROBE_SCRIPT;

// One standard descriptor as the runtime found it.
struct DescriptorView {
    bool open = false;
    std::string dev;  // device and inode, in decimal: which file it is
    std::string ino;
    std::optional<off_t> pos;  // the offset, where the platform shows it (Linux)
    int accessMode = -1;       // O_RDONLY, O_WRONLY or O_RDWR
};

// What the probe reports about the runtime's process.
struct ProbeReport {
    pid_t pid = 0;
    // Whether `cmdline`, `environ` and `childEnviron` hold the raw bytes of the process (Linux), or
    // the runtime's UTF-8 view of them, where ill-formed bytes are replaced (macOS).
    bool raw = false;
    std::string argv0;                                // process.argv0
    std::vector<std::string> argv;                    // process.argv without the runtime's own path
    std::optional<std::vector<std::string>> cmdline;  // the raw command line of the process
    std::vector<std::string> environ;                 // the environment of the process
    std::vector<std::string> childEnviron;            // the environment of a process the runtime starts
    std::vector<DescriptorView> descriptors;          // 0, 1 and 2
};

ProbeReport parseProbeReport(std::string_view json);

// Everything a run of the launcher left behind.
struct Observation {
    Finished finished;
    std::string output;  // bytes written to descriptor 1
    std::string errors;  // bytes written to descriptor 2
    std::string report;  // bytes written to descriptor 3, where the probe reports
};

// Runs the launcher with `arguments` (argument 0 included) and `environment`, with `input` as the
// content of descriptor 0 and fresh files on descriptors 1 to 3.
Observation observe(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                    std::string_view input = {});

// A small environment for runs where the environment is not what is looked at.
std::vector<std::string> plainEnvironment();

}  // namespace tessary::service::testing
