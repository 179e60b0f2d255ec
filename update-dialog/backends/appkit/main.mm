// Tessary Update on macOS: the update dialog on AppKit.
#import <Foundation/Foundation.h>

#include <cstdio>

#include "appkit_toolkit.h"
#include "core/update_dialog.h"

int main(int argc, char** argv) {
    @autoreleasepool {
        tessary::update::appkit::AppKitToolkit toolkit;
        return tessary::update::runUpdateDialog(toolkit, {argv, argv + argc}, stdout);
    }
}
