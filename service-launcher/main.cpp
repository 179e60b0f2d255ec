// Tessary Service: the launcher of a background service on the Electron Framework's Node.js runtime.
// It prepares its own process and hands its whole command line, unchanged, to the framework.

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "electron_framework.h"

namespace tessary::service {
namespace {

// A closed standard descriptor would be taken by the next file the runtime opens, which would then
// receive the service's output or be read as its input. Reopening the stream on the null device keeps
// the number occupied. Only a descriptor that is not open (EBADF) is reopened; any other failure of
// the query leaves it as it is.
void reopenIfClosed(int descriptor, std::FILE* stream, const char* mode) {
    struct stat status;
    if (fstat(descriptor, &status) < 0 && errno == EBADF) {
        std::FILE* reopened = std::freopen("/dev/null", mode, stream);
        static_cast<void>(reopened);  // a failed reopen is not reported: the launcher has no output
    }
}

int run(int argc, char** argv) {
    // The variable would make the framework behave as a plain Node.js binary; services never want it,
    // and neither should anything the service starts.
    unsetenv("ELECTRON_RUN_AS_NODE");
    reopenIfClosed(0, stdin, "r");
    reopenIfClosed(1, stdout, "w");
    reopenIfClosed(2, stderr, "w");
    // The very vector the process received: the command line belongs to the runtime.
    return ElectronInitializeICUandStartNode(argc, argv);
}

}  // namespace
}  // namespace tessary::service

int main(int argc, char** argv) {
    return tessary::service::run(argc, argv);
}
