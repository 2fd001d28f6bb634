// The host's window procedure: preview painting in preview mode; otherwise
// input, timers, painting and the close request of the running program.
#pragma once

#include "platform/platform.h"

namespace lumivortex {

long hostWindowProc(platform::Message& message);

// The normal window's size, fixed when the window is created: the largest
// size it may be dragged to (the frame size may change later on the worker).
void setWindowMaxSize(int width, int height);

}  // namespace lumivortex
