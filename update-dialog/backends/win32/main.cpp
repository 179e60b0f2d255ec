// Tessary Update on Windows: the update dialog on Win32. The arguments come
// as UTF-16 and go to the dialog as UTF-8; any path among them opens again
// through the wide API, whatever it holds (platform/windows/wide_text.h).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/standard_descriptors.h"
#include "core/update_dialog.h"
#include "platform/windows/standard_streams.h"
#include "platform/windows/wide_text.h"
#include "win32_toolkit.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    tessary::update::openClosedStandardDescriptors();
    std::vector<std::string> arguments;
    for (int i = 0; i < __argc; ++i) arguments.push_back(tessary::update::windows::utf8FromWide(__wargv[i]));
    tessary::update::win32::Win32Toolkit toolkit;
    tessary::update::UpdateDialog dialog(toolkit, tessary::update::windows::standardStream(1));
    // The dialog's objects stay in place until the process ends: it ends here,
    // without returning through their destructors.
    std::exit(dialog.run(std::move(arguments)));
}
