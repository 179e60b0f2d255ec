// An install request that cannot be delivered whole ends the run with status 1
// on Windows too, where a pipe whose reader has gone makes the write fail
// rather than raise a signal; a request delivered, or never asked for, ends with 0.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>

#include "dialog_harness.h"

namespace tessary::update {
namespace {

using testing::DialogRun;
using testing::Press;
using testing::runDialog;
using testing::standardArguments;
using testing::StatusFolder;
using testing::statusJson;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A pipe whose reader has gone, as when the host crashed.
File pipeWithoutReader() {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) return nullptr;
    CloseHandle(readEnd);
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(writeEnd), _O_WRONLY);
    return File(descriptor < 0 ? nullptr : _fdopen(descriptor, "w"));
}

enum class Output { readerGone, readOnly, nullDevice };

File open(Output output, const StatusFolder& folder) {
    switch (output) {
        case Output::readerGone:
            return pipeWithoutReader();
        case Output::readOnly: {
            // A stream that takes no writes at all: a file opened for reading.
            const std::string path = folder.pathOf("read-only");
            std::ofstream(testing::fileSystemPath(path)) << "";
            return File(_wfopen(testing::fileSystemPath(path).c_str(), L"r"));
        }
        case Output::nullDevice:
            return File(std::fopen("NUL", "w"));
    }
    return nullptr;
}

TEST(InstallDelivery, ARequestThatCannotBeDeliveredEndsWithStatusOne) {
    struct Case {
        const char* name;
        Output output;
        int pressed;
        int exitStatus;
    };
    const std::vector<Case> cases{
        {"reader gone, Install & Relaunch", Output::readerGone, 1, 1},
        {"no writes taken, Install & Relaunch", Output::readOnly, 1, 1},
        {"reader gone, Later: nothing to deliver", Output::readerGone, 2, 0},
        {"no writes taken, Later: nothing to deliver", Output::readOnly, 2, 0},
        // A missing standard output becomes the NUL device at start: the host asked for nothing.
        {"NUL device, Install & Relaunch", Output::nullDevice, 1, 0},
    };
    for (const Case& c : cases) {
        StatusFolder folder;
        folder.write(statusJson("available", R"("latest": "2.0.0")"));
        const File output = open(c.output, folder);
        ASSERT_TRUE(output) << c.name;
        const DialogRun run = runDialog(standardArguments(folder), {Press{c.pressed}},
                                        {.standardOutput = output.get(), .clock = {}});
        EXPECT_EQ(run.exitStatus, c.exitStatus) << c.name;
    }
}

}  // namespace
}  // namespace tessary::update
