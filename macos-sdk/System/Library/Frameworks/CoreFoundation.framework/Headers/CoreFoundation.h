// Stub of the CoreFoundation umbrella header: only what Tessary's macOS build uses.
#pragma once

#include <CoreFoundation/CFCGTypes.h>
