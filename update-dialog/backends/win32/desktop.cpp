#include "desktop.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/windows/standard_streams.h"

namespace tessary::update::win32 {

std::optional<std::string> whyNoDesktop() {
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    const HWINSTA station = GetProcessWindowStation();
    if (station == nullptr) return "the process has no window station";
    if (GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, &needed) &&
        (flags.dwFlags & WSF_VISIBLE) == 0)
        return "the process runs on a window station that no one sees";
    return std::nullopt;
}

void endWithoutWindow(const std::string& reason) {
    std::FILE* const error = windows::standardStream(2);
    std::fprintf(error, "Tessary Update: cannot show the dialog: %s\n", reason.c_str());
    std::fflush(error);
    std::exit(3);
}

}  // namespace tessary::update::win32
