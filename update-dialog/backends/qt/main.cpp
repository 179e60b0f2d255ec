// Tessary Update on Linux: the update dialog on the Qt toolkit.
#include <cstdio>
#include <cstdlib>

#include "core/standard_descriptors.h"
#include "core/update_dialog.h"
#include "qt_toolkit.h"

int main(int argc, char** argv) {
    tessary::update::openClosedStandardDescriptors();
    tessary::update::qt::QtToolkit toolkit(argc, argv);
    tessary::update::UpdateDialog dialog(toolkit, stdout);
    // The dialog's objects stay in place until the process ends: it ends here,
    // without returning through their destructors.
    std::exit(dialog.run({argv, argv + argc}));
}
