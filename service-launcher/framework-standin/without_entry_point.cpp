// A framework that lacks the Node.js entry point, as an older or damaged Electron Framework would:
// the loader must refuse to start the launcher against it before any of the launcher's code runs.

extern "C" __attribute__((visibility("default"))) int ElectronFrameworkWithoutEntryPoint() {
    return 0;
}
