#include "core/standard_descriptors.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <array>
#include <cstdint>

#include "standard_streams.h"

namespace tessary::update {
namespace {

struct StandardStream {
    DWORD handleNumber;
    DWORD access;
    int openFlags;
};

constexpr std::array<StandardStream, 3> standardStreams{{
    {STD_INPUT_HANDLE, GENERIC_READ, _O_RDONLY},
    {STD_OUTPUT_HANDLE, GENERIC_WRITE, _O_WRONLY},
    {STD_ERROR_HANDLE, GENERIC_WRITE, _O_WRONLY},
}};

// A GUI program started from the desktop, or by a host that passed none, has
// no standard handles at all, and one whose handle was closed has a value that
// names nothing: either way, every write to it fails.
bool isMissing(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return true;
    SetLastError(NO_ERROR);
    return GetFileType(handle) == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR;
}

// The C library's descriptor leads nowhere: -1, or -2 for "no console".
bool descriptorLeadsNowhere(int descriptor) {
    return _get_osfhandle(descriptor) < 0;
}

}  // namespace

// A missing standard handle becomes the NUL device, in Windows' table and in
// the C library's descriptor: a host that gave no standard output asked for no
// install request, and its write then succeeds rather than being taken for a
// request that could not be delivered. Standard input on NUL is a device,
// which the focus request's reader never reads.
void openClosedStandardDescriptors() {
    for (int descriptor = 0; descriptor < 3; ++descriptor) {
        const StandardStream& stream = standardStreams[static_cast<std::size_t>(descriptor)];
        if (!isMissing(GetStdHandle(stream.handleNumber))) continue;
        const HANDLE null = CreateFileW(L"NUL", stream.access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (null == INVALID_HANDLE_VALUE) continue;
        SetStdHandle(stream.handleNumber, null);
        if (!descriptorLeadsNowhere(descriptor)) continue;
        // The descriptor takes a handle of its own, which _dup2 gives the standard number.
        HANDLE own = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), null, GetCurrentProcess(), &own, 0, FALSE,
                             DUPLICATE_SAME_ACCESS))
            continue;
        const int opened = _open_osfhandle(reinterpret_cast<intptr_t>(own), stream.openFlags);
        if (opened < 0) {
            CloseHandle(own);
        } else if (opened != descriptor) {
            _dup2(opened, descriptor);
            _close(opened);
        }
    }
}

namespace windows {

// A GUI program started without standard handles has C streams that were
// never opened: no repair of the descriptor reaches them (freopen refuses a
// stream that is not open). A new stream on the repaired descriptor stands in.
std::FILE* standardStream(int descriptor) {
    std::FILE* const streams[] = {stdin, stdout, stderr};
    std::FILE* const stream = streams[descriptor];
    if (_fileno(stream) == descriptor) return stream;
    // Made once, for the process's whole life, as the C library's own are.
    static std::array<std::FILE*, 3> standIns{};
    std::FILE*& standIn = standIns[static_cast<std::size_t>(descriptor)];
    if (standIn == nullptr) standIn = _fdopen(descriptor, descriptor == 0 ? "r" : "w");
    return standIn != nullptr ? standIn : stream;
}

}  // namespace windows
}  // namespace tessary::update
