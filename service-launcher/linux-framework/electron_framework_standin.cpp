// Linux stand-in for the Electron Framework's Node.js entry point. The real framework exists only on
// macOS; here the machine's Node.js runtime takes its place. It replaces the process image, so the
// runtime runs in the launcher's own process with its environment and descriptors, and the runtime's
// exit status (or the signal that ends it) is the process's own.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "electron_framework.h"

#ifndef TESSARY_NODE_EXECUTABLE
#error "TESSARY_NODE_EXECUTABLE must name the Node.js runtime to start"
#endif

namespace tessary::framework {
namespace {

constexpr const char* kNodeExecutable = TESSARY_NODE_EXECUTABLE;

// The statuses a shell uses for a program that is missing or cannot be run.
constexpr int kRuntimeMissing = 127;
constexpr int kRuntimeNotExecutable = 126;

int startNode(int argc, char** argv) {
    // Node.js gets the command line as it is, argument 0 included (it reports it as process.argv0 and
    // finds its own binary by other means). An empty vector, which leaves a program without the
    // argument 0 it relies on, is replaced by one holding the runtime's path.
    char* withoutArguments[] = {const_cast<char*>(kNodeExecutable), nullptr};
    char** arguments = (argc > 0 && argv != nullptr && argv[0] != nullptr) ? argv : withoutArguments;
    execv(kNodeExecutable, arguments);

    const int error = errno;
    std::fprintf(stderr, "Electron Framework: cannot start the Node.js runtime %s: %s\n", kNodeExecutable,
                 std::strerror(error));
    return error == ENOENT ? kRuntimeMissing : kRuntimeNotExecutable;
}

}  // namespace
}  // namespace tessary::framework

extern "C" __attribute__((visibility("default"))) int ElectronInitializeICUandStartNode(int argc,
                                                                                        char** argv) {
    return tessary::framework::startNode(argc, argv);
}
