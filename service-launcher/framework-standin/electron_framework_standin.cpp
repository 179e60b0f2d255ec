// Stand-in for the Electron Framework's Node.js entry point, where the real framework is not at hand
// (on Linux, and for the launcher's tests on a Mac): the machine's Node.js runtime takes its place.
// It replaces the process image, so the runtime runs in the launcher's own process with its
// environment and descriptors, and the runtime's exit status (or the signal that ends it) is the
// process's own.

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
// The caller handed over a count that does not match its vector (EX_SOFTWARE: the caller is at
// fault, not the runtime).
constexpr int kCountDoesNotMatchVector = 70;

// The runtime is started with exactly `argc` arguments. The vector must hold that many entries and
// be ended by a null pointer right after them; a caller that changed the count (one too few, one too
// many) is refused rather than having the runtime see a command line the host never gave.
bool holdsExactly(int argc, char* const* argv) {
    if (argc < 0 || argv == nullptr) return argc == 0 && argv == nullptr;
    for (int index = 0; index < argc; ++index) {
        if (argv[index] == nullptr) return false;
    }
    return argv[argc] == nullptr;
}

int startNode(int argc, char** argv) {
    if (!holdsExactly(argc, argv)) {
        std::fprintf(stderr,
                     "Electron Framework: the argument vector does not hold exactly the %d arguments it was "
                     "given with, ended by a null pointer\n",
                     argc);
        return kCountDoesNotMatchVector;
    }
    // Node.js gets the command line as it is, argument 0 included (it reports it as process.argv0 and
    // finds its own binary by other means). An empty command line, which leaves a program without the
    // argument 0 it relies on, is replaced by one holding the runtime's path.
    char* withoutArguments[] = {const_cast<char*>(kNodeExecutable), nullptr};
    execv(kNodeExecutable, argc > 0 ? argv : withoutArguments);

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
