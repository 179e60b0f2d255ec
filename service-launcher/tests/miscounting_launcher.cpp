// A faulty launcher for the stand-in's tests: it hands the framework its vector with the count
// changed by TESSARY_COUNT_CHANGE.

#include "electron_framework.h"

int main(int argc, char** argv) {
    return ElectronInitializeICUandStartNode(argc + TESSARY_COUNT_CHANGE, argv);
}
