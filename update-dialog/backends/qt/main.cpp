// Tessary Update on Linux: the update dialog on the Qt toolkit.
#include <cstdio>

#include "core/update_dialog.h"
#include "qt_toolkit.h"

int main(int argc, char** argv) {
    tessary::update::qt::QtToolkit toolkit(argc, argv);
    return tessary::update::runUpdateDialog(toolkit, {argv, argv + argc}, stdout);
}
