// The single fatal path of the whole system.
#pragma once

#include <string>

namespace lumivortex {

// Shows one message box with `text` and the caption "Process Runtime Error",
// then closes the program in order. Never returns to its caller.
[[noreturn]] void fatalError(const std::string& text);

// Exit code of the process when a fatal error ends a thread other than the
// worker (tools, tests): 0, like every path of the program. Test programs
// set 1 outside their death tests, so that an unexpected fatal error fails
// the test instead of ending it as a pass.
extern int fatalExitCode;

}  // namespace lumivortex
