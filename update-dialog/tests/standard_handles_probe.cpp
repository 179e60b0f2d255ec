// A GUI program of the tests' own, started by standard_descriptors_windows_test
// with some standard handles missing: it repairs them as Tessary Update does
// and reports how each stands. The argument has one letter per stream, 0 to 2:
// "n" where the handle was missing (it must now be the NUL device, and take
// writes, or give end of input at once), "p" where it was a pipe (it must be
// kept; standard output then carries the install request). The exit status
// has one bit per stream found wrong.
#include <windows.h>

#include <cstdio>
#include <string_view>

#include "core/standard_descriptors.h"
#include "core/standard_output.h"
#include "platform/windows/standard_streams.h"

namespace {

using tessary::update::windows::standardStream;

constexpr std::string_view installRequest = "{\"action\":\"install\"}\n";

bool standsRight(int stream, wchar_t expected) {
    const DWORD numbers[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    const DWORD type = GetFileType(GetStdHandle(numbers[stream]));
    if (expected == L'p') {
        if (type != FILE_TYPE_PIPE) return false;
        return stream != 1 || tessary::update::writeWholeAndFlush(standardStream(1), installRequest);
    }
    if (type != FILE_TYPE_CHAR) return false;
    if (stream == 0) return std::fgetc(standardStream(0)) == EOF;
    return tessary::update::writeWholeAndFlush(standardStream(stream), installRequest);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    tessary::update::openClosedStandardDescriptors();
    const std::wstring_view expected(commandLine);
    if (expected.size() != 3) return 64;
    int wrong = 0;
    for (int stream = 0; stream < 3; ++stream) {
        if (!standsRight(stream, expected[static_cast<std::size_t>(stream)])) wrong |= 1 << stream;
    }
    return wrong;
}
