// The single fatal path of the whole system.
#pragma once

#include <string>

namespace lumivortex {

// Shows one message box with `text` and the caption "Process Runtime Error",
// then closes the program in order. Never returns to its caller.
[[noreturn]] void fatalError(const std::string& text);

}  // namespace lumivortex
