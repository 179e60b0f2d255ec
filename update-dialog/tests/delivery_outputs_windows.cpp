#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <fstream>

#include "delivery_outputs.h"

namespace tessary::update::testing {
namespace {

// Writing to it fails; Windows raises no signal.
File pipeWithoutReader() {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) return nullptr;
    CloseHandle(readEnd);
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(writeEnd), _O_WRONLY);
    return File(descriptor < 0 ? nullptr : _fdopen(descriptor, "w"));
}

}  // namespace

File openOutput(Output output, const StatusFolder& folder) {
    switch (output) {
        case Output::readerGone:
            return pipeWithoutReader();
        case Output::refusesWrites: {
            // No full device on Windows: a file opened for reading takes no writes either.
            const std::string path = folder.pathOf("read-only");
            std::ofstream(fileSystemPath(path)) << "";
            return File(_wfopen(fileSystemPath(path).c_str(), L"r"));
        }
        case Output::nullDevice:
            return File(std::fopen("NUL", "w"));
    }
    return nullptr;
}

}  // namespace tessary::update::testing
