// Program entry of the host: parses the screen-saver command line, opens the
// window, starts the worker and pumps messages until the window is gone.
#pragma once

namespace lumivortex {

// Returns the program's exit code (0 on every path).
int hostMain(int argc, char** argv);

// Reads the screen-saver arguments (argument 0 is the program). Sets
// previewMode and previewParent; shows the help box for an unknown command
// line. Returns 1 when the program must end at once, 0 when it goes on.
int parseScreenSaverArgs(int argc, const char* const* argv);

}  // namespace lumivortex
