// Tessary Update on macOS: the update dialog on AppKit.
#import <Foundation/Foundation.h>

#include <cstdio>
#include <cstdlib>

#include "appkit_toolkit.h"
#include "core/standard_descriptors.h"
#include "core/update_dialog.h"

int main(int argc, char** argv) {
    tessary::update::openClosedStandardDescriptors();
    @autoreleasepool {
        tessary::update::appkit::AppKitToolkit toolkit;
        tessary::update::UpdateDialog dialog(toolkit, stdout);
        // The dialog's objects stay in place until the process ends: it ends
        // here, without returning through their destructors.
        std::exit(dialog.run({argv, argv + argc}));
    }
}
