#pragma once

// The one export of "Electron Framework" that Tessary Service uses. It initialises ICU and runs the
// framework's embedded Node.js runtime with the given command line until the runtime ends, and returns
// the status the process should exit with.
extern "C" int ElectronInitializeICUandStartNode(int argc, char** argv);
